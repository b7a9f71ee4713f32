// Random window captions and component names, so the monitor's windows carry no fixed title.
#pragma once

#include <cstdint>
#include <string>

namespace vur::monitor {

// 2 to 101 letters "A" to "Z": n is drawn uniformly from 0..99 and n + 2 letters follow.
std::string MakeRandomName(std::uint32_t seed);

// Seeded afresh from the clock on every call (Windows builds only).
std::string MakeRandomName();

} // namespace vur::monitor
