// SHA-512 (FIPS 180-4), streamed: the hash inside Ed25519 signatures of update lists and files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vur {

class Sha512 {
public:
    static constexpr std::size_t kDigestSize = 64;

    Sha512();
    void Update(const void* bytes, std::size_t length);
    // Pads, writes the 64-byte digest and starts over, so one object can hash one message after another.
    void Final(unsigned char digest[kDigestSize]);

private:
    void Compress(const unsigned char* block);
    void Reset();

    std::uint64_t state_[8];
    unsigned char buffer_[128];
    std::size_t buffered_;
    std::uint64_t length_; // bytes so far; messages are far below the 2^61 bytes where this would wrap
};

// The digest of one message in one call.
std::string Sha512Digest(const std::string& message);

} // namespace vur
