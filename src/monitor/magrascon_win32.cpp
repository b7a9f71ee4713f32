// The RAS layer's system calls on Windows; libraries only by full path from the system folder.
#include "monitor/magrascon_win32.h"

#include "monitor/magrascon_binding.h"
#include "shared/system_library_win32.h"

#include <windows.h>

namespace vur::monitor {

namespace {

void Version(uint32_t& platformId, uint32_t& major, uint32_t& minor) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    platformId = info.dwPlatformId;
    major = info.dwMajorVersion;
    minor = info.dwMinorVersion;
}

uint32_t Tick() {
    return GetTickCount();
}

void Pause(uint32_t ms) {
    Sleep(ms);
}

void Post(TWindowHandle window, uint32_t message, uint32_t wParam, int32_t lParam) {
    PostMessageA(static_cast<HWND>(window), message, wParam, lParam);
}

TModuleHandle LoadFromSystemFolder(const char* fileName) {
    return LoadSystemLibrary(fileName);
}

void* Symbol(TModuleHandle module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void Free(TModuleHandle module) {
    FreeLibrary(static_cast<HMODULE>(module));
}

const TRasSystem kWin32 = {Version, Tick, Pause, Post, LoadFromSystemFolder, Symbol, Free};

} // namespace

const TRasSystem& Win32RasSystem() {
    return kWin32;
}

// Its destructor frees the libraries when the process (or the monitor library) goes.
TRasBinding& ProcessRasBinding() {
    static TRasBinding binding(kWin32);
    return binding;
}

} // namespace vur::monitor
