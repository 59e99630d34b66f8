// A text label that paints no background: on every paint it composes, in a canvas
// of its own size kept for its life, everything beneath it (window, panel artwork,
// lower controls) and then its caption, so the artwork shows around the characters
// and overlapping labels come out right. A new caption (also one set as its window
// text from outside) is painted at once, straight into the label's window inside
// the handler that wrote it, rather than through an invalidation and a WM_PAINT
// round: under Wine that round costs several times the painting itself. The label
// keeps its caption itself and answers WM_GETTEXT and WM_SETTEXT with it, so
// screen readers and automation read and set the caption, and a new caption costs
// no trip to the window server.
#pragma once

#include "ui/control.h"
#include "ui/window_class.h"

#include <optional>

class TransLabel : public Control, private MessageHandler {
public:
    explicit TransLabel(const ControlArgs& args);

    bool create(HWND window) override;
    std::string text(Property property) const override;
    void setText(Property property, const char* text) override;
    void paintContent(HDC dc) const override;

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void storeCaption(std::string caption);
    void captionChanged();
    void refresh();
    void paintInto(HDC target);

    std::string caption_;  // GBK, as the program wrote it
    std::wstring shown_;   // the same, as drawn and as the window text
    Font font_;
    std::optional<Canvas> canvas_;
};
