// A standard push button, never a default button. With a picture, the picture is
// the face (centred, not scaled) and the caption stays the window text without
// being drawn; without one, the caption shows. Raises clicked on activation by
// mouse or keyboard.
#pragma once

#include "ui/control.h"

class Button : public Control {
public:
    explicit Button(const ControlArgs& args);

    bool create(HWND window) override;
    std::string text(Property property) const override;
    bool onNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    Bitmap picture_;
    Font font_;
};
