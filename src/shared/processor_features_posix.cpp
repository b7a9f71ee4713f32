#include "shared/processor_features.h"

namespace vur {

bool CarrylessMultiplyUsable() {
#if defined(__i386__) || defined(__x86_64__)
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

bool AesRoundsUsable() {
#if defined(__i386__) || defined(__x86_64__)
    return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

} // namespace vur
