// The hidden window base of the monitor's two forms.
#include "hidden_window.h"

#include "texts.h"

#include <exception>

namespace vurmon {

HiddenWindow::~HiddenWindow() { Destroy(); }

void HiddenWindow::Create(HINSTANCE module, const char* className, const std::string& caption, int width,
                          int height) {
    WNDCLASSA cls{};
    if (!GetClassInfoA(module, className, &cls)) {
        cls.lpfnWndProc = &HiddenWindow::Procedure;
        cls.hInstance = module;
        cls.lpszClassName = className;
        cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        RegisterClassA(&cls);
    }
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowExA(0, className, caption.c_str(), WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                    module, this);
}

void HiddenWindow::Destroy() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        SetWindowLongA(hwnd, GWL_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

LRESULT HiddenWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void HiddenWindow::ShowError(const std::string& message) const {
    MessageBoxA(hwnd_, message.c_str(), texts::kCaption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

LRESULT CALLBACK HiddenWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<HiddenWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongA(hwnd, GWL_USERDATA, reinterpret_cast<LONG>(self));
    }
    auto* self = reinterpret_cast<HiddenWindow*>(GetWindowLongA(hwnd, GWL_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        self->ShowError(e.what());
    } catch (...) {
        self->ShowError(texts::kUnknownError);
    }
    return 0;
}

} // namespace vurmon
