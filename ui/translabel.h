// A text label that paints no background: on every paint it composes, in a buffer
// of its own size, everything beneath it (window, panel artwork, lower controls)
// and then its caption, so the artwork shows around the characters and
// overlapping labels come out right. A new caption (also one set as its window
// text from outside) repaints the label at once,
// inside the handler that wrote it. The caption is also the window text, so
// screen readers and automation can read it.
#pragma once

#include "ui/control.h"
#include "ui/window_class.h"

class TransLabel : public Control, private MessageHandler {
public:
    explicit TransLabel(const ControlArgs& args);

    bool create(HWND window) override;
    std::string text(Property property) const override;
    void setText(Property property, const char* text) override;
    void paintContent(HDC dc) const override;

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void refresh();

    std::string caption_;
    Font font_;
};
