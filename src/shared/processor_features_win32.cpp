// A processor may have SSE while the system does not save its registers (Windows 95, 98 first edition,
// NT 4): only IsProcessorFeaturePresent can say. It is missing from the 9x kernel and bound at run time;
// without it the answer is no. 64-bit Windows always saves them.
#include "shared/processor_features.h"

#include "shared/system_library_win32.h"

#include <windows.h>

namespace vur {

namespace {

bool SystemSavesVectorRegisters() {
#ifdef _WIN64
    return true;
#else
    BOOL(WINAPI * present)(DWORD) = nullptr;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel) BindEntryPoint(kernel, "IsProcessorFeaturePresent", present);
    const DWORD kSse2Available = 10; // PF_XMMI64_INSTRUCTIONS_AVAILABLE
    return present && present(kSse2Available);
#endif
}

} // namespace

bool CarrylessMultiplyUsable() {
    return SystemSavesVectorRegisters() && __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
}

bool AesRoundsUsable() {
    return SystemSavesVectorRegisters() && __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse2");
}

} // namespace vur
