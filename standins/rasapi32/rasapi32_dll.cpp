// Stand-in RASAPI32.DLL for tests: answers the RAS calls from a scenario file in the record layout of the
// running Windows version, and logs every hang-up and entry read beside the scenario.
#include "ras_world.h"

#include <windows.h>

#include <memory>
#include <string>

namespace {

HMODULE gModule = nullptr;
std::unique_ptr<vurras::TRasWorld> gWorld;
size_t gLogged = 0;

// VUR_RAS_SCENARIO names the file; otherwise "rasapi32.scenario" beside this DLL.
std::string ScenarioPath() {
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("VUR_RAS_SCENARIO", path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return std::string(path, n);
    const DWORD m = GetModuleFileNameA(gModule, path, MAX_PATH);
    std::string own(path, m < MAX_PATH ? m : 0);
    return own.substr(0, own.find_last_of('\\') + 1) + "rasapi32.scenario";
}

std::string ReadAll(const std::string& path) {
    std::string text;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(h);
    return text;
}

vur::monitor::TSystemClass RunningClass() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    return vur::monitor::ClassifySystem(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

// The scenario is read again on every call, so a test changes the world by rewriting the file.
vurras::TRasWorld& World() {
    if (!gWorld) gWorld = std::make_unique<vurras::TRasWorld>(RunningClass());
    gWorld->SetScenario(vurras::ParseScenario(ReadAll(ScenarioPath())));
    return *gWorld;
}

void FlushLog() {
    const auto& log = gWorld->Log();
    if (gLogged == log.size()) return;
    const std::string path = ScenarioPath() + ".log";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFilePointer(h, 0, nullptr, FILE_END);
    for (; gLogged < log.size(); ++gLogged) {
        const std::string line = log[gLogged] + "\r\n";
        DWORD written = 0;
        WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    CloseHandle(h);
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) gModule = instance;
    return TRUE;
}

// HRASCONN is a handle, passed at the width of a pointer; ras.h stays out, as this file defines its functions.

// Present because its presence is what tells RAS is installed; the stand-in dials nothing.
__declspec(dllexport) DWORD WINAPI RasDialA(void*, const char*, void*, DWORD, void*, void* handle) {
    if (handle) *static_cast<void**>(handle) = nullptr;
    return 633; // ERROR_PORT_NOT_AVAILABLE
}

__declspec(dllexport) DWORD WINAPI RasGetCountryInfoA(void*, DWORD*) {
    return 87;
}

__declspec(dllexport) DWORD WINAPI RasEnumConnectionsA(BYTE* records, DWORD* size, DWORD* count) {
    static_assert(sizeof(DWORD) == sizeof(uint32_t), "DWORD");
    return World().EnumConnections(records, reinterpret_cast<uint32_t*>(size),
                                   reinterpret_cast<uint32_t*>(count), GetTickCount());
}

__declspec(dllexport) DWORD WINAPI RasGetConnectStatusA(void* handle, BYTE* status) {
    return World().GetConnectStatus(reinterpret_cast<uintptr_t>(handle), status, GetTickCount());
}

__declspec(dllexport) DWORD WINAPI RasHangUpA(void* handle) {
    const DWORD result = World().HangUp(reinterpret_cast<uintptr_t>(handle), GetTickCount());
    FlushLog();
    return result;
}

__declspec(dllexport) DWORD WINAPI RasGetEntryPropertiesA(const char*, const char* entry, BYTE* info,
                                                          DWORD* size, BYTE* device, DWORD* deviceSize) {
    const DWORD result = World().GetEntryProperties(entry, info, reinterpret_cast<uint32_t*>(size), device,
                                                    reinterpret_cast<uint32_t*>(deviceSize));
    FlushLog();
    return result;
}

__declspec(dllexport) DWORD WINAPI RasGetErrorStringA(UINT code, char* text, DWORD size) {
    return World().GetErrorString(code, text, size);
}

} // extern "C"
