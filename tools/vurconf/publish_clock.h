// Seam: the seconds since 1970 (UTC), the default serial of a published update list. Each platform reads its
// own clock (on Windows without the C runtime's 64-bit time call, which Windows 95 and NT 4 lack).
#pragma once

#include <cstdint>

namespace vurconf {

std::uint64_t SecondsSince1970();

} // namespace vurconf
