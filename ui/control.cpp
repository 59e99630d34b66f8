#include "ui/control.h"

#include "ui/button.h"
#include "ui/combobox.h"
#include "ui/picbox.h"
#include "ui/picture.h"
#include "ui/text.h"
#include "ui/translabel.h"
#include "ui/window_class.h"

#include <cstring>

bool Control::createWindow(HWND parent, const wchar_t* className, DWORD style, const wchar_t* text, int height,
                           MessageHandler* handler) {
    if (entry_.visible) style |= WS_VISIBLE;
    if (!entry_.enabled) style |= WS_DISABLED;
    if (entry_.tabStop) style |= WS_TABSTOP;
    hwnd_ = CreateWindowExW(0, className, text, style | WS_CHILD | WS_CLIPSIBLINGS, entry_.left, entry_.top,
                            entry_.width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id())),
                            GetModuleHandleW(nullptr), handler);
    return hwnd_ != nullptr;
}

void Control::paintContent(HDC dc) const {
    SendMessageW(hwnd_, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_CHILDREN);
}

std::unique_ptr<Control> makeControl(const ControlArgs& args) {
    switch (args.entry.props.index()) {
    case 1: return std::make_unique<PicBox>(args);
    case 2: return std::make_unique<Button>(args);
    case 3: return std::make_unique<ComboBox>(args);
    case 4: return std::make_unique<TransLabel>(args);
    default: return nullptr;
    }
}

int controlIndexOf(HWND hwnd) {
    LONG_PTR id = GetWindowLongPtrW(hwnd, GWLP_ID);
    return id >= 100 ? static_cast<int>(id - 100) : -1;
}

Font makeFont(const FontSpec* wanted) {
    if (wanted == nullptr || wanted->height <= 0) return Font();
    // Converted without allocating: fonts are made on the preparing thread too.
    wchar_t face[LF_FACESIZE];
    widenInto(wanted->face, face, LF_FACESIZE);
    return Font(CreateFontW(-wanted->height, wanted->width, 0, 0, wanted->weight, wanted->italic, wanted->underline,
                            wanted->strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            PROOF_QUALITY, DEFAULT_PITCH, face));
}

HFONT fontOrDefault(const Font& font) {
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF colorRef(const Colour& colour) {
    return colour.buttonFace ? GetSysColor(COLOR_BTNFACE) : RGB(colour.r, colour.g, colour.b);
}

namespace {

// Makes the DIB section the picture is decoded into, once its size is known: 24
// bits a pixel, as the picture has, a quarter less memory than 32.
PixelTarget allocateDib(void* context, int width, int height) {
    auto& bitmap = *static_cast<Bitmap*>(context);
    void* bits = nullptr;
    bitmap = Bitmap(createDib(width, height, 24, &bits));
    if (!bitmap || bits == nullptr) return {};
    return {static_cast<std::uint8_t*>(bits), (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}};
}

}  // namespace

Bitmap pictureFromJpeg(const unsigned char* data, std::size_t size) {
    Bitmap bitmap;
    if (!decodeJpegInto(data, size, PixelLayout::bgr, allocateDib, &bitmap)) bitmap.reset();
    return bitmap;
}

Bitmap loadPicture(int resourceId) {
    if (resourceId == 0) return Bitmap();
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return Bitmap();
    return pictureFromJpeg(static_cast<const unsigned char*>(data), SizeofResource(module, resource));
}
