// An artwork panel: a borderless child that paints its background colour and its
// picture at natural size from the top-left corner. The picture is decoded once,
// at creation; a picture that fails to decode leaves only the background.
#pragma once

#include "ui/control.h"
#include "ui/window_class.h"

class PicBox : public Control, private MessageHandler {
public:
    explicit PicBox(const ControlArgs& args);

    bool create(HWND window) override;
    void paintContent(HDC dc) const override;

    // Replaces the picture (for tests of undecodable pictures); repaints.
    void setPicture(Bitmap picture);
    bool hasPicture() const { return static_cast<bool>(picture_); }

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    Brush background_;
    Bitmap picture_;
};
