// Owning wrappers for the GDI objects the controls make, and scoped helpers for
// painting. Every wrapper is move-only: a handle has exactly one owner, and the
// owner releases it.
#pragma once

#include <windows.h>

#include <utility>

template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = nullptr;
    }

private:
    Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

// A memory DC compatible with another DC, deleted at scope exit.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A memory DC with one bitmap selected for the DC's whole life, so painting from or
// into the bitmap needs no DC of its own each time. The bitmap is owned elsewhere
// and outlives this; a bitmap can be selected into one DC only.
class BitmapDc {
public:
    explicit BitmapDc(HBITMAP bitmap)
        : previous_(dc_.get() != nullptr && bitmap != nullptr ? SelectObject(dc_.get(), bitmap) : nullptr) {}
    ~BitmapDc() {
        if (previous_ != nullptr) SelectObject(dc_.get(), previous_);
    }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;

    // The DC with the bitmap selected, or null if it could not be made.
    HDC get() const { return previous_ != nullptr ? dc_.get() : nullptr; }

private:
    MemoryDc dc_{nullptr};
    HGDIOBJ previous_;
};

// A top-down DIB section of 24 or 32 bits a pixel; null if it could not be made.
// Each row of a 24-bit one is padded to a multiple of 4 bytes.
inline HBITMAP createDib(int width, int height, WORD bitsPerPixel, void** bits = nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void* ignored = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits != nullptr ? bits : &ignored, nullptr, 0);
}

// An off-screen picture of a fixed size in a DC of its own, kept for the life of its
// owner so that repainting allocates nothing: creating a bitmap compatible with a
// window DC on every paint costs more than the paint.
class Canvas {
public:
    Canvas(int width, int height) : bitmap_(createDib(width, height, 32)), dc_(bitmap_.get()) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The DC to paint into, or null if the canvas could not be made.
    HDC dc() const { return dc_.get(); }

private:
    Bitmap bitmap_;
    BitmapDc dc_;  // released before the bitmap
};

// Selects an object into a DC and restores the previous one at scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves a DC's state (origin, clipping, …) and restores it at scope exit.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
    ~SavedDcState() { RestoreDC(dc_, state_); }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int state_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

