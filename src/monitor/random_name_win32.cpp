// Clock seeds for random names. The tick count alone repeats within one millisecond, and the caption and the
// component name are drawn right after each other, so the performance counter and a call count go in too.
#include "monitor/random_name.h"

#include <windows.h>

namespace vur::monitor {

std::string MakeRandomName() {
    static std::uint32_t calls = 0;
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::uint32_t seed = GetTickCount() ^ static_cast<std::uint32_t>(counter.LowPart) ^
                               static_cast<std::uint32_t>(counter.HighPart) ^ (++calls * 0x9E3779B9u);
    return MakeRandomName(seed);
}

} // namespace vur::monitor
