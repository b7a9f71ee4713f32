// The publishing clock on Linux.
#include "publish_clock.h"

#include <ctime>

namespace vurconf {

std::uint64_t SecondsSince1970() { return static_cast<std::uint64_t>(std::time(nullptr)); }

} // namespace vurconf
