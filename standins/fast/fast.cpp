// Stand-in starter fast.exe: brings watch.dll from its own folder into this process and keeps its thread
// dispatching messages, which the monitor's start-up timer needs.
#include "shared/module_path.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string library = vur::ModuleFolder(nullptr) + "watch.dll";
    if (!LoadLibraryA(library.c_str())) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
