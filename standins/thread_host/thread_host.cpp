// Thread host: loads watch.dll from its own folder on a worker thread that fetches messages, as a program
// does into which the library's hook brought it. WM_QUIT posted to that thread ends it, while the process
// lives on for a minute: tests see whether the monitor that ran on the thread is taken over elsewhere.
#include <windows.h>

#include <cstring>

namespace {

DWORD WINAPI RunLibrary(LPVOID) {
    char library[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, library, MAX_PATH);
    char* slash = length && length < MAX_PATH ? std::strrchr(library, '\\') : nullptr;
    if (!slash || static_cast<std::size_t>(slash + 1 - library) + sizeof "watch.dll" > MAX_PATH) return 1;
    std::memcpy(slash + 1, "watch.dll", sizeof "watch.dll");
    if (!LoadLibraryA(library)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HANDLE worker = CreateThread(nullptr, 0, &RunLibrary, nullptr, 0, nullptr);
    if (!worker) return 1;
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    Sleep(60000);
    return 0;
}
