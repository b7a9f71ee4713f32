// The publishing clock on Windows: the system time in 100 ns steps since 1601.
#include "publish_clock.h"

#include <windows.h>

namespace vurconf {

std::uint64_t SecondsSince1970() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr std::uint64_t kTicksFrom1601To1970 = 116444736000000000ull;
    return (ticks - kTicksFrom1601To1970) / 10000000u;
}

} // namespace vurconf
