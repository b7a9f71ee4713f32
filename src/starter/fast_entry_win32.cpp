// fast.exe: brings watch.dll from its own folder into this process and installs the library's hook for every
// thread of the desktop. Windows then maps the library into the programs that fetch messages, and one of
// them takes the monitor over when this process is ended. The thread keeps dispatching messages: the
// monitor's start-up timer needs that, and so do the hook calls that Windows makes on the installing
// thread for programs of the other architecture.
// It runs at every log-on and is fetched by modem on an update, so it uses no C++ runtime at all: plain
// Win32 calls on a fixed buffer.
#include "shared/monitor_signals.h"

#include <windows.h>

#include <cstring>

namespace {

const char kLibrary[] = "watch.dll";
const char kHookProcedure[] = "HookProc";

// The library beside this program; false when the program's own path cannot be read or the result would
// not fit, so that nothing is loaded by a bare name from the search path.
bool LibraryBesideProgram(char (&path)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return false;
    const std::size_t folder = static_cast<std::size_t>(slash + 1 - path);
    if (folder + sizeof kLibrary > MAX_PATH) return false;
    std::memcpy(slash + 1, kLibrary, sizeof kLibrary);
    return true;
}

// The message hook brings the library into every program that fetches messages. Without it (a library
// without the export, a system that refuses the hook) this process alone still runs the monitor.
HHOOK InstallLibraryHook(HMODULE library) {
    const FARPROC procedure = GetProcAddress(library, kHookProcedure);
    if (!procedure) return nullptr;
    return SetWindowsHookExA(WH_GETMESSAGE, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(procedure)),
                             library, 0);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    if (!LibraryBesideProgram(path)) return 1;
    // A start means protection again, also after an earlier starter was ended on purpose.
    const HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, vur::kMonitorEndedEventName);
    if (ended) ResetEvent(ended);
    const HMODULE library = LoadLibraryA(path);
    if (!library) return 1;
    const HHOOK hook = InstallLibraryHook(library);
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // WM_QUIT ends the starter only after a deliberate stop was marked (the admin tool and the
            // uninstaller mark it before they ask, the monitor at the end of the session). Any other program
            // can post WM_QUIT to this thread without any rights: that is ignored, and protection goes on.
            if (ended && WaitForSingleObject(ended, 0) == WAIT_OBJECT_0) break;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (hook) UnhookWindowsHookEx(hook);
    return 0;
}
