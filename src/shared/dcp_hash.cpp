// SHA-1 written from FIPS 180-1: 512-bit blocks, 80 rounds, big-endian words.
#include "shared/dcp_hash.h"

#include "shared/errors.h"

#include <cstring>

namespace vur {

namespace {

std::uint32_t Rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

} // namespace

void TDCP_sha1::Start() {
    Wipe();
    state_[0] = 0x67452301u;
    state_[1] = 0xEFCDAB89u;
    state_[2] = 0x98BADCFEu;
    state_[3] = 0x10325476u;
    state_[4] = 0xC3D2E1F0u;
    started_ = true;
}

void TDCP_sha1::Wipe() {
    std::memset(state_, 0, sizeof state_);
    std::memset(block_, 0, sizeof block_);
    blockFill_ = 0;
    totalBytes_ = 0;
    started_ = false;
}

void TDCP_sha1::Feed(const void* data, std::size_t length) {
    if (!started_) throw EHashError("SHA1: Not initialized");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    totalBytes_ += length;
    while (length > 0) {
        std::size_t take = sizeof block_ - blockFill_;
        if (take > length) take = length;
        std::memcpy(block_ + blockFill_, bytes, take);
        blockFill_ += take;
        bytes += take;
        length -= take;
        if (blockFill_ == sizeof block_) {
            Compress();
            blockFill_ = 0;
        }
    }
}

void TDCP_sha1::Finish(std::uint8_t* digest) {
    if (!started_) throw EHashError("SHA1: Not initialized");
    const std::uint64_t bits = totalBytes_ * 8;
    block_[blockFill_++] = 0x80;
    if (blockFill_ > 56) {
        std::memset(block_ + blockFill_, 0, sizeof block_ - blockFill_);
        Compress();
        blockFill_ = 0;
    }
    std::memset(block_ + blockFill_, 0, 56 - blockFill_);
    for (int i = 0; i < 8; ++i) block_[56 + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    Compress();
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<std::uint8_t>(state_[i] >> (24 - 8 * j));
    Wipe();
}

void TDCP_sha1::Compress() {
    std::uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = (std::uint32_t(block_[4 * t]) << 24) | (std::uint32_t(block_[4 * t + 1]) << 16) |
               (std::uint32_t(block_[4 * t + 2]) << 8) | std::uint32_t(block_[4 * t + 3]);
    for (int t = 16; t < 80; ++t) w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    for (int t = 0; t < 80; ++t) {
        std::uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const std::uint32_t temp = Rotl(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = Rotl(b, 30);
        b = a;
        a = temp;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
    std::memset(w, 0, sizeof w);
}

} // namespace vur
