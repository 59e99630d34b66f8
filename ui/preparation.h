// The part of building the window that needs no window, done on a second thread
// while the GUI thread makes the windows: the pictures decoded into their DIB
// sections, the fonts made, and each font's texts drawn once off screen, so that
// the platform's font engine has opened the font files and cached the glyphs
// before the first paint needs them. Each control takes its own parts as it is
// made, waiting only until they are ready; the thread goes through the entries in
// the order the controls are made.
//
// The thread only computes: it allocates no memory of the program's (its texts are
// converted into buffers of its own) and shows nothing. What it cannot make is
// missing, as it would be if the GUI thread had made it (a picture that does not
// decode, a font that cannot be had); a failure of the thread itself (it cannot
// start, it has no DC to draw in) fails the window's building, as any other part
// that cannot be made.
#pragma once

#include "ui/gdi.h"
#include "ui/window_description.h"

#include <windows.h>

#include <memory>
#include <vector>

// What one control takes from the preparation.
struct PreparedParts {
    Bitmap picture;      // its picture, decoded; empty for none or one that does not decode
    Font font;           // its font; empty for the default GUI font
    int textHeight = 0;  // the height of the font's text (tmHeight)
};

class Preparation {
public:
    // `order`: the entries in the order their controls are made.
    Preparation(const WindowDescription& description, std::vector<std::size_t> order);
    // Waits for the thread to end; parts not taken are released.
    ~Preparation();
    Preparation(const Preparation&) = delete;
    Preparation& operator=(const Preparation&) = delete;

    // Starts the thread; false when it cannot be started.
    bool start();
    // Waits until the entry's parts are ready, then hands them over (once). False
    // when the thread has failed.
    bool take(std::size_t entry, PreparedParts& parts);

private:
    static DWORD WINAPI run(void* self);
    bool prepareAll();
    void prepare(std::size_t entry, HDC scratch);

    const WindowDescription& description_;
    const std::vector<std::size_t> order_;
    std::vector<PreparedParts> parts_;  // by entry
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::size_t ready_ = 0;  // how many entries of order_ are ready; guarded by lock_
    bool failed_ = false;    // guarded by lock_
    HANDLE thread_ = nullptr;
};
