// Failing starter: loads watch.dll from its own folder as fast.exe does, but a hook on its thread refuses
// the creation of the monitor's hidden main window "TfMain", so the monitor's start fails in this process
// as it would where a window cannot be created. Tests start it to see the library give up the instance
// mutex, tell the user, and leave the protection to the next process.
#include <windows.h>

#include <cstring>

namespace {

HHOOK g_hook = nullptr;

LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        char name[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (std::strcmp(name, "TfMain") == 0) return 1; // a non-zero result makes CreateWindowEx fail
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char library[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, library, MAX_PATH);
    char* slash = length && length < MAX_PATH ? std::strrchr(library, '\\') : nullptr;
    if (!slash || static_cast<std::size_t>(slash + 1 - library) + sizeof "watch.dll" > MAX_PATH) return 1;
    std::memcpy(slash + 1, "watch.dll", sizeof "watch.dll");
    g_hook = SetWindowsHookExA(WH_CBT, &RefuseMainWindow, nullptr, GetCurrentThreadId());
    if (!g_hook || !LoadLibraryA(library)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
