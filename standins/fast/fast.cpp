// Stand-in starter fast.exe: brings watch.dll from its own folder into this process and keeps its thread
// dispatching messages, which the monitor's start-up timer needs. It runs at every log-on and is fetched by
// modem on an update, so it uses no C++ runtime at all: plain Win32 calls on a fixed buffer.
#include <windows.h>

#include <cstring>

namespace {

const char kLibrary[] = "watch.dll";

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

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char library[MAX_PATH];
    if (!LibraryBesideProgram(library) || !LoadLibraryA(library)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
