// A processor may have SSE while the system does not save its registers (Windows 95, 98 first edition,
// NT 4): only IsProcessorFeaturePresent can say. It is missing from the 9x kernel and bound at run time;
// without it the answer is no. 64-bit Windows always saves them. The processor is asked with CPUID
// directly (which also finds a processor without CPUID), as the compiler's own feature query brings a
// table of every processor model into each program.
#include "shared/processor_features.h"

#include "shared/system_library_win32.h"

#include <cpuid.h>
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

// Feature bits of CPUID leaf 1 (ECX, EDX); both zero without CPUID.
struct FeatureBits {
    unsigned ecx = 0, edx = 0;
};

FeatureBits ProcessorFeatureBits() {
    FeatureBits bits;
    unsigned eax = 0, ebx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &bits.ecx, &bits.edx)) bits = FeatureBits{};
    return bits;
}

} // namespace

bool CarrylessMultiplyUsable() {
    const FeatureBits bits = ProcessorFeatureBits();
    return (bits.ecx & bit_PCLMUL) && (bits.edx & bit_SSE2) && SystemSavesVectorRegisters();
}

bool AesRoundsUsable() {
    const FeatureBits bits = ProcessorFeatureBits();
    return (bits.ecx & bit_AES) && (bits.edx & bit_SSE2) && SystemSavesVectorRegisters();
}

} // namespace vur
