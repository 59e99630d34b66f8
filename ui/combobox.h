// A drop-down list selector: no typing, unsorted, a vertical scroll bar when the
// items do not fit, total height at least 160 pixels. It is owner-drawn so that
// the closed field and the opened list both show the text colour on the
// background colour (a plain drop-down list fills a focused field with the
// highlight colour whatever brush it is given) and so that the item height can be
// set: the default height for the font plus the extra height. The opened list
// never reaches below the selector's total height, whatever height the platform's
// list would take by itself (Wine gives a list that cannot show every item at least
// six items' height).
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
    static LRESULT CALLBACK listMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    void limitListPlacement(WINDOWPOS& position) const;

    Font font_;
    Brush background_;
    int itemHeight_ = 0;
    int totalHeight_ = 0;  // field and opened list together
    HWND list_ = nullptr;
    WNDPROC listProcedure_ = nullptr;  // the list's own window procedure
};
