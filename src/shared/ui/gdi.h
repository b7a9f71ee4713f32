// RAII for GDI objects and paint sessions, so no window code has a manual delete or EndPaint path.
#pragma once

#include <windows.h>

namespace vur::ui {

// Owns one GDI object (brush, font, bitmap, pen) and deletes it; movable, not copyable.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(T handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    T handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Pen = GdiObject<HPEN>;

// BeginPaint in the constructor, EndPaint in the destructor.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory DC with one object selected into it; both are restored and freed in the destructor.
class MemoryDC {
public:
    MemoryDC(HDC compatible, HGDIOBJ selected) : dc_(CreateCompatibleDC(compatible)) {
        old_ = SelectObject(dc_, selected);
    }
    ~MemoryDC() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC with one object selected into it (for measuring text in the window's font); restored and
// released in the destructor.
class WindowDC {
public:
    WindowDC(HWND window, HGDIOBJ selected) : window_(window), dc_(GetDC(window)) { old_ = SelectObject(dc_, selected); }
    ~WindowDC() {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace vur::ui
