// The Win32 side of a control of the window description. Every control is a
// window made from its entry; it owns the GDI objects it makes and releases them
// when it goes. The main window forwards to a control the notifications that the
// platform sends to its parent (commands, owner drawing, colour requests).
#pragma once

#include "ui/gdi.h"
#include "ui/preparation.h"
#include "ui/window_description.h"

#include <windows.h>

#include <memory>
#include <string>

// What a control needs from the window it is built into.
class ControlSite {
public:
    virtual void raise(std::size_t entry, Event event) = 0;
    // Paints into `dc`, whose origin is the control's client top-left, everything
    // that lies beneath the control: the window, the panels and every lower control
    // that overlaps it.
    virtual void paintBeneath(std::size_t entry, HDC dc) = 0;
    // Hands a notification sent to a panel or the window to the control it concerns.
    virtual bool forwardNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // The control's picture and font, made while the windows were being made;
    // waits until they are ready. False when they cannot be had: the control
    // cannot be made.
    virtual bool takePrepared(std::size_t entry, PreparedParts& parts) = 0;

protected:
    ~ControlSite() = default;
};

struct ControlArgs {
    const ControlEntry& entry;
    std::size_t index;  // the entry's position in the description
    ControlSite& site;
};

class Control {
public:
    explicit Control(const ControlArgs& args) : entry_(args.entry), index_(args.index), site_(args.site) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Makes the window inside its parent (the main window or a panel); false when
    // it cannot be made.
    virtual bool create(HWND parent) = 0;

    HWND hwnd() const { return hwnd_; }
    const ControlEntry& entry() const { return entry_; }
    // True for the control's own window and for windows it creates (a drop-down list).
    virtual bool owns(HWND hwnd) const { return hwnd == hwnd_; }

    virtual std::string text(Property) const { return {}; }
    virtual void setText(Property, const char*) {}

    // A notification addressed to this control; true when it was handled.
    virtual bool onNotification(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    // Paints the control's content into `dc` (origin at its client top-left), for
    // a transparent control above it.
    virtual void paintContent(HDC dc) const;

protected:
    // The window at the entry's rectangle, as a child of `parent`, shown if the
    // entry is visible; id = 100 + index. `handler` receives the messages of the
    // program's own window classes.
    bool createWindow(HWND parent, const wchar_t* className, DWORD style, const wchar_t* text, int height,
                      class MessageHandler* handler = nullptr);
    int id() const { return static_cast<int>(100 + index_); }

    const ControlEntry& entry_;
    const std::size_t index_;
    ControlSite& site_;
    HWND hwnd_ = nullptr;
};

// The control for an entry of kind PicBox, Button, ComboBox or TransLabel.
std::unique_ptr<Control> makeControl(const ControlArgs& args);

// The entry id of a control window (its GWLP_ID less 100), or -1.
int controlIndexOf(HWND hwnd);

// A font description made into a font (null description: an empty Font, meaning
// the default GUI font).
Font makeFont(const FontSpec* wanted);
HFONT fontOrDefault(const Font& font);
COLORREF colorRef(const Colour& colour);
// A picture resource (RCDATA) decoded into a 24-bit DIB section; empty on failure.
Bitmap loadPicture(int resourceId);
Bitmap pictureFromJpeg(const unsigned char* data, std::size_t size);
