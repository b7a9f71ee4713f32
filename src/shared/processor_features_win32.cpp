// A processor may have SSE while the system does not save its registers (Windows 95, 98 first edition,
// NT 4): only IsProcessorFeaturePresent can say. It is missing from the 9x kernel and bound at run time;
// without it the answer is no. 64-bit Windows always saves them.
#include "shared/processor_features.h"

#include <windows.h>

namespace vur {

namespace {

bool SystemSavesVectorRegisters() {
#ifdef _WIN64
    return true;
#else
    using FeaturePresent = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto present = kernel ? reinterpret_cast<FeaturePresent>(
                                reinterpret_cast<void*>(GetProcAddress(kernel, "IsProcessorFeaturePresent")))
                          : nullptr;
    const DWORD kSse2Available = 10; // PF_XMMI64_INSTRUCTIONS_AVAILABLE
    return present && present(kSse2Available);
#endif
}

} // namespace

bool CarrylessMultiplyUsable() {
    return SystemSavesVectorRegisters() && __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
}

} // namespace vur
