// The draw of a random name from a given seed.
#include "monitor/random_name.h"

#include <random>

namespace vur::monitor {

std::string MakeRandomName(std::uint32_t seed) {
    std::mt19937 generator(seed);
    const int length = std::uniform_int_distribution<int>(0, 99)(generator) + 2;
    std::uniform_int_distribution<int> letter(0, 25);
    std::string name;
    for (int i = 0; i < length; ++i) name += static_cast<char>('A' + letter(generator));
    return name;
}

} // namespace vur::monitor
