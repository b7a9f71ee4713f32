// The parts of Widget that every kind of window shares. The object pointer lives in the window's user data;
// the LongPtr calls are the plain Long ones on 32-bit Windows and keep all 64 bits on 64-bit Windows.
#include "shared/ui/widget.h"

namespace vur::ui {

Widget* Widget::FromHandle(HWND window) {
    return window ? reinterpret_cast<Widget*>(GetWindowLongPtrA(window, GWLP_USERDATA)) : nullptr;
}

void Widget::Attach(HWND window) {
    hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Widget::Detach() {
    if (hwnd_ && IsWindow(hwnd_) && FromHandle(hwnd_) == this) SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

void Widget::SetBounds(int left, int top, int width, int height) {
    MoveWindow(hwnd_, left, top, width, height, TRUE);
}

void Widget::Show(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
void Widget::Enable(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Widget::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void Widget::SetText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }

std::string Widget::Text() const {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd_, &text[0], static_cast<int>(text.size()))));
    return text;
}

void Widget::SetFont(FontStyle style) {
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(StandardFont(style)), TRUE);
}

void Widget::SetTextColor(COLORREF colour) {
    textColor_ = colour;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

} // namespace vur::ui
