// An invisible window that receives a component's socket, timer and posted messages on the GUI thread.
#pragma once

#include <windows.h>

#include <functional>

namespace vur {

// Not a message-only window: those do not exist on Windows 95 and NT 4. The handler runs for every
// message; a C++ exception never leaves it (the window procedure swallows it as a last resort, so callers
// catch their own first).
class THiddenWindow {
public:
    using THandler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    explicit THiddenWindow(THandler handler);
    ~THiddenWindow();
    THiddenWindow(const THiddenWindow&) = delete;
    THiddenWindow& operator=(const THiddenWindow&) = delete;

    HWND Handle() const { return FHandle; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    THandler FHandler;
    HWND FHandle = nullptr;
};

} // namespace vur
