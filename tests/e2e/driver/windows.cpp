// Window and process look-ups of vurdrive.
#include "windows.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>

#include "remote_memory.h"

namespace drive {

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) return "";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kAnswerMs, &copied))
        return "";
    text.resize(std::min<size_t>(copied, length));
    return text;
}

static bool Matches(HWND window, const WindowQuery& q) {
    if (q.handle && window != q.handle) return false;
    if (q.visibleOnly && !IsWindowVisible(window)) return false;
    if (!q.className.empty() && ClassOf(window) != q.className) return false;
    if (!q.pids.empty()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (std::find(q.pids.begin(), q.pids.end(), pid) == q.pids.end()) return false;
    }
    if (!q.title.empty() || !q.titlePart.empty()) {
        std::string title = WindowText(window);
        if (!q.title.empty() && title != q.title) return false;
        if (!q.titlePart.empty() && title.find(q.titlePart) == std::string::npos) return false;
    }
    return true;
}

namespace {
struct TopSearch {
    const WindowQuery* query;
    std::vector<HWND> found;
};
struct ChildSearch {
    std::vector<HWND> found;
};
} // namespace

static BOOL CALLBACK CollectTop(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopSearch*>(data);
    if (Matches(window, *search->query)) search->found.push_back(window);
    return TRUE;
}

static BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<ChildSearch*>(data)->found.push_back(window);
    return TRUE;
}

std::vector<HWND> FindTopLevel(const WindowQuery& query) {
    TopSearch search{&query, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND top) {
    ChildSearch search;
    EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChild(HWND top, const ChildQuery& q) {
    if (!q.IsSet()) return top;
    long seen = 0;
    for (HWND child : Children(top)) {
        if (!q.className.empty() && ClassOf(child) != q.className) continue;
        if (q.id >= 0 && GetDlgCtrlID(child) != q.id) continue;
        if (!q.text.empty() && WindowText(child) != q.text) continue;
        if (seen++ == q.index) return child;
    }
    return nullptr;
}

HWND WaitForWindow(const WindowQuery& query, const ChildQuery& child, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND top : FindTopLevel(query))
            if (HWND found = FindChild(top, child)) return found;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

bool WaitUntilGone(const WindowQuery& query, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!FindTopLevel(query).empty()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

static std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<DWORD> ProcessesByExe(const std::string& exe) {
    std::vector<DWORD> pids;
    struct Snapshot {
        HANDLE handle = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        ~Snapshot() {
            if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        }
    } guard;
    HANDLE snapshot = guard.handle;
    if (snapshot == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    // Windows 9x gives the full path in szExeFile, Wine and NT the file name only: compare the last part.
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        std::string name = entry.szExeFile;
        auto slash = name.find_last_of("\\/");
        if (slash != std::string::npos) name = name.substr(slash + 1);
        if (Lower(name) == Lower(exe)) pids.push_back(entry.th32ProcessID);
    }
    return pids;
}

std::vector<DWORD> PostQuitToThreads(DWORD processId) {
    std::vector<DWORD> posted;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return posted;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId && PostThreadMessageA(entry.th32ThreadID, WM_QUIT, 0, 0))
            posted.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    return posted;
}

} // namespace drive
