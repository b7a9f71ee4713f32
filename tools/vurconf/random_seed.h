// Seam: 32 bytes from the system's random source, for a new signing key. Each platform asks its own source
// (Linux /dev/urandom; Windows the CryptoAPI provider, bound at run time as Windows 95 may lack it).
#pragma once

#include "shared/ed25519.h"

namespace vurconf {

// Raises vur::EVurError when the source cannot be read.
vur::ed25519::Seed RandomSeed();

} // namespace vurconf
