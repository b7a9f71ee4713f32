// The invisible component window: its class registered once per process, bound to its object after creation.
#include "updater/hidden_window.h"

#include "shared/errors.h"

namespace vur {

namespace {

const char WindowClass[] = "VurComponentWindow";

void RegisterOnce() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA; // each window switches to WindowProc once its object is bound
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = WindowClass;
    registered = RegisterClassA(&windowClass) != 0;
}

} // namespace

THiddenWindow::THiddenWindow(THandler handler) : FHandler(std::move(handler)) {
    RegisterOnce();
    FHandle = CreateWindowExA(0, WindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    if (!FHandle)
        throw EVurError("can't create the component window");
    SetWindowLongA(FHandle, GWL_USERDATA, reinterpret_cast<LONG>(this));
    SetWindowLongA(FHandle, GWL_WNDPROC, reinterpret_cast<LONG>(&THiddenWindow::WindowProc));
}

THiddenWindow::~THiddenWindow() {
    SetWindowLongA(FHandle, GWL_USERDATA, 0);
    DestroyWindow(FHandle);
}

LRESULT CALLBACK THiddenWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<THiddenWindow*>(GetWindowLongA(window, GWL_USERDATA));
    if (self && (message >= WM_USER || message == WM_TIMER)) {
        try {
            self->FHandler(message, wParam, lParam);
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace vur
