// Finding windows of other processes by class, caption, process and child properties, with bounded waits.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drive {

// A top-level window: every field that is set must match. An empty query matches every top-level window.
struct WindowQuery {
    std::string className;
    std::string title;       // whole caption
    std::string titlePart;   // part of the caption
    std::vector<DWORD> pids; // owning process, any of these (empty: any process)
    HWND handle = nullptr;   // one known window
    bool visibleOnly = true;
};

// A descendant of the top-level window; an unset query means the top-level window itself.
struct ChildQuery {
    std::string className;
    std::string text;
    long id = -1;
    long index = 0; // the n-th match, in the order EnumChildWindows gives
    bool IsSet() const { return !className.empty() || !text.empty() || id >= 0; }
};

std::vector<HWND> FindTopLevel(const WindowQuery& query);
HWND FindChild(HWND top, const ChildQuery& query);
std::vector<HWND> Children(HWND top);

// Polls every 50 ms until a match exists (or, with `gone`, none is left) or `timeoutMs` has passed.
HWND WaitForWindow(const WindowQuery& query, const ChildQuery& child, DWORD timeoutMs);
bool WaitUntilGone(const WindowQuery& query, DWORD timeoutMs);

// Process ids of every running process whose file name (case-insensitive, without folder) is `exe`.
std::vector<DWORD> ProcessesByExe(const std::string& exe);
// Posts WM_QUIT to every thread of the process, as any program can without rights; returns the threads that
// took it.
std::vector<DWORD> PostQuitToThreads(DWORD processId);

// The text by WM_GETTEXT, which also works for controls of other processes; bounded by a timeout.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

} // namespace drive
