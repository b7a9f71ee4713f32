// TForm1, the monitor's hidden tray window: the notification icon "VUR Version 3.5" and its menu `Task`,
// from which the other programs of the suite are started (Windows builds only).
#pragma once

#include "shared/ui/window.h"

#include <windows.h>

#include <string>

namespace vur::monitor {

class TForm1 : public vur::ui::Window {
public:
    explicit TForm1(HMODULE library);
    // Removes the icon.
    ~TForm1() override;

    // Only the icon, for a process that is going away and must not leave a dead icon behind.
    void RemoveIcon();

    static constexpr UINT kTrayMessage = WM_USER + 1; // 0x401
    const std::string& Name() const { return name_; }
    HMENU Task() const { return task_; }

private:
    void FormCreate(HMODULE library);
    void AddIcon();
    void TrayCallback(LPARAM mouseEvent);
    void OpenMenu();
    void StartProgram(const char* file);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HMODULE library_;
    std::string name_;
    std::string folder_;
    HICON icon_ = nullptr;
    HMENU task_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool iconShown_ = false;
};

} // namespace vur::monitor
