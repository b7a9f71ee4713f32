// A window that is never shown, bound to its C++ object, whose message handler may not let an exception
// escape into the host's message loop (Windows builds only).
#pragma once

#include <windows.h>

#include <string>

namespace vurmon {

class HiddenWindow {
public:
    virtual ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    HiddenWindow() = default;
    // Registers the class once per process (in the given module) and creates the window, centred.
    void Create(HINSTANCE module, const char* className, const std::string& caption, int width, int height);
    void Destroy();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What a handler's escaped exception shows; the message is then answered as handled.
    void ShowError(const std::string& message) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

} // namespace vurmon
