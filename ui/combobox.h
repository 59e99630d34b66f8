// A drop-down list selector: no typing, unsorted, a vertical scroll bar when the
// items do not fit, total height at least 160 pixels. It is owner-drawn so that
// the closed field and the opened list both show the text colour on the
// background colour (a plain drop-down list fills a focused field with the
// highlight colour whatever brush it is given) and so that the item height can be
// set: the default height for the font plus the extra height.
#pragma once

#include "ui/control.h"

class ComboBox : public Control {
public:
    explicit ComboBox(const ControlArgs& args);

    bool create(HWND window) override;
    bool owns(HWND hwnd) const override;
    std::string text(Property property) const override;
    bool onNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::wstring itemText(int item) const;
    void drawItem(const DRAWITEMSTRUCT& item) const;

    Font font_;
    Brush background_;
    int itemHeight_ = 0;
    HWND list_ = nullptr;
};
