// Random seeds on Linux from /dev/urandom.
#include "random_seed.h"

#include <cstdio>

#include "shared/errors.h"

namespace vurconf {

vur::ed25519::Seed RandomSeed() {
    vur::ed25519::Seed seed;
    std::FILE* source = std::fopen("/dev/urandom", "rb");
    const bool read = source && std::fread(seed.data(), 1, seed.size(), source) == seed.size();
    if (source) std::fclose(source);
    if (!read) throw vur::EVurError("cannot read /dev/urandom");
    return seed;
}

} // namespace vurconf
