// An artwork panel: a borderless child that paints its background colour and its
// picture at natural size from the top-left corner. The picture is decoded once,
// at creation; a picture that fails to decode leaves only the background.
#pragma once

#include "ui/control.h"
#include "ui/window_class.h"

#include <optional>

class PicBox : public Control, private MessageHandler {
public:
    explicit PicBox(const ControlArgs& args);

    bool create(HWND window) override;
    void paintContent(HDC dc) const override;

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    Brush background_;
    Bitmap picture_;
    SIZE pictureSize_{0, 0};
    std::optional<BitmapDc> pictureDc_;  // the picture, ready to copy from; released first
};
