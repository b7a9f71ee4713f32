// Seam: every system call of the RAS layer goes through one table, the Windows one or a test's fakes.
//
// TRasSystem promises: GetVersion gives the platform id and version numbers (GetVersionExA); GetTickCount the
// millisecond tick; Sleep blocks without dispatching messages; PostMessage posts to the given window;
// LoadSystemLibrary loads a library by its file name from the system folder only (never the search path)
// and returns null when it cannot; GetProcAddress returns null for a missing export; FreeLibrary releases.
// The RAS function types are ABI-compatible with RASAPI32.DLL's exports (stdcall on 32-bit Windows, the one
// x64 convention on 64-bit Windows), so the Windows table hands out GetProcAddress results as they are.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define VUR_RASAPI __stdcall
#else
#define VUR_RASAPI
#endif

namespace vur::monitor {

// HRASCONN as a value: wide enough for both layouts. Calls take it at the width of a pointer, as the system
// passes a handle.
using TRasHandle = uint64_t;
using TRasCallHandle = uintptr_t;
using TWindowHandle = void*;
using TModuleHandle = void*;

using TRasEnumConnectionsA = uint32_t(VUR_RASAPI*)(void* records, uint32_t* size, uint32_t* count);
using TRasGetConnectStatusA = uint32_t(VUR_RASAPI*)(TRasCallHandle handle, void* status);
using TRasGetErrorStringA = uint32_t(VUR_RASAPI*)(uint32_t code, char* text, uint32_t size);
using TRasHangUpA = uint32_t(VUR_RASAPI*)(TRasCallHandle handle);
using TRasGetEntryPropertiesA = uint32_t(VUR_RASAPI*)(const char* phonebook, const char* entry,
                                                      void* entryInfo, uint32_t* entrySize, void* deviceInfo,
                                                      uint32_t* deviceSize);

struct TRasSystem {
    void (*GetVersion)(uint32_t& platformId, uint32_t& major, uint32_t& minor);
    uint32_t (*GetTickCount)();
    void (*Sleep)(uint32_t ms);
    void (*PostMessage)(TWindowHandle window, uint32_t message, uint32_t wParam, int32_t lParam);
    TModuleHandle (*LoadSystemLibrary)(const char* fileName);
    void* (*GetProcAddress)(TModuleHandle module, const char* name);
    void (*FreeLibrary)(TModuleHandle module);
};

// RAS result codes the layer produces or tests for.
namespace raserr {
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kBufferTooSmall = 603;
constexpr uint32_t kNoStatus = 601; // also the state "status no longer available"
constexpr uint32_t kCannotFindEntry = 623;
constexpr uint32_t kInvalidSize = 632;
constexpr uint32_t kDllNotFound = 1157;
} // namespace raserr

} // namespace vur::monitor
