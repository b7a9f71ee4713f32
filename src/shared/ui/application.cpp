// Message loop and general error box shared by every program with windows.
#include "shared/ui/application.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "shared/caught_error.h"
#include "shared/ui/window.h"

namespace vur::ui {

namespace {
std::string& Title() {
    static std::string title;
    return title;
}

void Dispatch(MSG& message, HWND dialog) {
    if (dialog && IsDialogMessageA(dialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}
} // namespace

void InitApplication(const std::string& title) {
    Title() = title;
    InitCommonControls();
}

const std::string& ApplicationTitle() { return Title(); }

int RunMessageLoop(Window& main) {
    ShowWindow(main.hwnd(), SW_SHOWNORMAL);
    UpdateWindow(main.hwnd());
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Window procedures catch their own exceptions; this guards what the loop itself runs.
        try {
            Dispatch(message, main.hwnd());
        } catch (...) {
            ShowErrorBox(CaughtErrorMessage());
        }
    }
    return static_cast<int>(message.wParam);
}

void ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // left for the main loop to end on
            return;
        }
        Dispatch(message, GetActiveWindow());
    }
}

void ShowErrorBox(const std::string& message) {
    MessageBoxA(GetActiveWindow(), message.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

} // namespace vur::ui
