// SHA-512 as FIPS 180-4 section 6.4 defines it, written for speed on both i686 and x86-64.
#include "shared/sha512.h"

#include <cstring>

namespace vur {

namespace {

// The first 64 bits of the fractional parts of the cube roots of the first 80 primes (FIPS 180-4 4.2.3).
constexpr std::uint64_t kRound[80] = {
    0x428a2f98d728ae22ull, 0x7137449123ef65cdull, 0xb5c0fbcfec4d3b2full, 0xe9b5dba58189dbbcull,
    0x3956c25bf348b538ull, 0x59f111f1b605d019ull, 0x923f82a4af194f9bull, 0xab1c5ed5da6d8118ull,
    0xd807aa98a3030242ull, 0x12835b0145706fbeull, 0x243185be4ee4b28cull, 0x550c7dc3d5ffb4e2ull,
    0x72be5d74f27b896full, 0x80deb1fe3b1696b1ull, 0x9bdc06a725c71235ull, 0xc19bf174cf692694ull,
    0xe49b69c19ef14ad2ull, 0xefbe4786384f25e3ull, 0x0fc19dc68b8cd5b5ull, 0x240ca1cc77ac9c65ull,
    0x2de92c6f592b0275ull, 0x4a7484aa6ea6e483ull, 0x5cb0a9dcbd41fbd4ull, 0x76f988da831153b5ull,
    0x983e5152ee66dfabull, 0xa831c66d2db43210ull, 0xb00327c898fb213full, 0xbf597fc7beef0ee4ull,
    0xc6e00bf33da88fc2ull, 0xd5a79147930aa725ull, 0x06ca6351e003826full, 0x142929670a0e6e70ull,
    0x27b70a8546d22ffcull, 0x2e1b21385c26c926ull, 0x4d2c6dfc5ac42aedull, 0x53380d139d95b3dfull,
    0x650a73548baf63deull, 0x766a0abb3c77b2a8ull, 0x81c2c92e47edaee6ull, 0x92722c851482353bull,
    0xa2bfe8a14cf10364ull, 0xa81a664bbc423001ull, 0xc24b8b70d0f89791ull, 0xc76c51a30654be30ull,
    0xd192e819d6ef5218ull, 0xd69906245565a910ull, 0xf40e35855771202aull, 0x106aa07032bbd1b8ull,
    0x19a4c116b8d2d0c8ull, 0x1e376c085141ab53ull, 0x2748774cdf8eeb99ull, 0x34b0bcb5e19b48a8ull,
    0x391c0cb3c5c95a63ull, 0x4ed8aa4ae3418acbull, 0x5b9cca4f7763e373ull, 0x682e6ff3d6b2b8a3ull,
    0x748f82ee5defb2fcull, 0x78a5636f43172f60ull, 0x84c87814a1f0ab72ull, 0x8cc702081a6439ecull,
    0x90befffa23631e28ull, 0xa4506cebde82bde9ull, 0xbef9a3f7b2c67915ull, 0xc67178f2e372532bull,
    0xca273eceea26619cull, 0xd186b8c721c0c207ull, 0xeada7dd6cde0eb1eull, 0xf57d4f7fee6ed178ull,
    0x06f067aa72176fbaull, 0x0a637dc5a2c898a6ull, 0x113f9804bef90daeull, 0x1b710b35131c471bull,
    0x28db77f523047d84ull, 0x32caab7b40c72493ull, 0x3c9ebe0a15c9bebcull, 0x431d67c49c100d4cull,
    0x4cc5d4becb3e42b6ull, 0x597f299cfc657e2aull, 0x5fcb6fab3ad6faecull, 0x6c44198c4a475817ull,
};

// The first 64 bits of the fractional parts of the square roots of the first 8 primes (FIPS 180-4 5.3.5).
constexpr std::uint64_t kInitial[8] = {
    0x6a09e667f3bcc908ull, 0xbb67ae8584caa73bull, 0x3c6ef372fe94f82bull, 0xa54ff53a5f1d36f1ull,
    0x510e527fade682d1ull, 0x9b05688c2b3e6c1full, 0x1f83d9abfb41bd6bull, 0x5be0cd19137e2179ull,
};

inline std::uint64_t Rotr(std::uint64_t x, unsigned n) { return (x >> n) | (x << (64 - n)); }

inline std::uint64_t LoadBig(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8); // both targets are little-endian
    return __builtin_bswap64(v);
}

inline void StoreBig(unsigned char* p, std::uint64_t v) {
    for (int i = 7; i >= 0; --i, v >>= 8) p[i] = static_cast<unsigned char>(v);
}

} // namespace

Sha512::Sha512() { Reset(); }

void Sha512::Reset() {
    std::memcpy(state_, kInitial, sizeof state_);
    buffered_ = 0;
    length_ = 0;
}

// The message schedule is kept as a ring of 16 words and the rounds go sixteen at a time, so every index into
// it is a constant and the words stay in registers; the working variables rotate by renaming, not by moves.
void Sha512::Compress(const unsigned char* block) {
    std::uint64_t w[16];
    for (int t = 0; t < 16; ++t) w[t] = LoadBig(block + 8 * t);
    std::uint64_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    std::uint64_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];

#define VUR_SHA512_WORD(k) (t == 0 ? w[k] : VUR_SHA512_NEXT(k))
#define VUR_SHA512_NEXT(k)                                                                                   \
    (w[k] += (Rotr(w[((k) + 14) & 15], 19) ^ Rotr(w[((k) + 14) & 15], 61) ^ (w[((k) + 14) & 15] >> 6)) +    \
             w[((k) + 9) & 15] + (Rotr(w[((k) + 1) & 15], 1) ^ Rotr(w[((k) + 1) & 15], 8) ^ (w[((k) + 1) & 15] >> 7)))
#define VUR_SHA512_ROUND(a, b, c, d, e, f, g, h, k, word)                                                    \
    do {                                                                                                     \
        const std::uint64_t t1 = h + (Rotr(e, 14) ^ Rotr(e, 18) ^ Rotr(e, 41)) + (g ^ (e & (f ^ g))) +      \
                                 kRound[t + (k)] + word(k);                                                  \
        const std::uint64_t t2 = (Rotr(a, 28) ^ Rotr(a, 34) ^ Rotr(a, 39)) + ((a & b) | (c & (a | b)));    \
        d += t1;                                                                                             \
        h = t1 + t2;                                                                                         \
    } while (0)
#define VUR_SHA512_SIXTEEN(word)                                    \
    VUR_SHA512_ROUND(a, b, c, d, e, f, g, h, 0, word);              \
    VUR_SHA512_ROUND(h, a, b, c, d, e, f, g, 1, word);              \
    VUR_SHA512_ROUND(g, h, a, b, c, d, e, f, 2, word);              \
    VUR_SHA512_ROUND(f, g, h, a, b, c, d, e, 3, word);              \
    VUR_SHA512_ROUND(e, f, g, h, a, b, c, d, 4, word);              \
    VUR_SHA512_ROUND(d, e, f, g, h, a, b, c, 5, word);              \
    VUR_SHA512_ROUND(c, d, e, f, g, h, a, b, 6, word);              \
    VUR_SHA512_ROUND(b, c, d, e, f, g, h, a, 7, word);              \
    VUR_SHA512_ROUND(a, b, c, d, e, f, g, h, 8, word);              \
    VUR_SHA512_ROUND(h, a, b, c, d, e, f, g, 9, word);              \
    VUR_SHA512_ROUND(g, h, a, b, c, d, e, f, 10, word);             \
    VUR_SHA512_ROUND(f, g, h, a, b, c, d, e, 11, word);             \
    VUR_SHA512_ROUND(e, f, g, h, a, b, c, d, 12, word);             \
    VUR_SHA512_ROUND(d, e, f, g, h, a, b, c, 13, word);             \
    VUR_SHA512_ROUND(c, d, e, f, g, h, a, b, 14, word);             \
    VUR_SHA512_ROUND(b, c, d, e, f, g, h, a, 15, word)
    // One block of sixteen serves all five passes, the first without the schedule step. Unrolled further, the
    // 64-bit rounds would come to 18 KB of 32-bit code, where every variable spills, for no gain on x86-64.
#pragma GCC unroll 1
    for (int t = 0; t < 80; t += 16) {
        VUR_SHA512_SIXTEEN(VUR_SHA512_WORD);
    }
#undef VUR_SHA512_SIXTEEN
#undef VUR_SHA512_ROUND
#undef VUR_SHA512_NEXT
#undef VUR_SHA512_WORD
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
    state_[5] += f;
    state_[6] += g;
    state_[7] += h;
}

void Sha512::Update(const void* bytes, std::size_t length) {
    if (length == 0) return;
    const auto* p = static_cast<const unsigned char*>(bytes);
    length_ += length;
    if (buffered_) {
        const std::size_t take = length < 128 - buffered_ ? length : 128 - buffered_;
        std::memcpy(buffer_ + buffered_, p, take);
        buffered_ += take;
        p += take;
        length -= take;
        if (buffered_ < 128) return;
        Compress(buffer_);
        buffered_ = 0;
    }
    for (; length >= 128; p += 128, length -= 128) Compress(p);
    std::memcpy(buffer_, p, length);
    buffered_ = length;
}

void Sha512::Final(unsigned char digest[kDigestSize]) {
    // A one bit, zeros, then the length in bits as a 128-bit number (its upper half is zero here).
    const std::uint64_t bits = length_ * 8;
    buffer_[buffered_++] = 0x80;
    if (buffered_ > 112) {
        std::memset(buffer_ + buffered_, 0, 128 - buffered_);
        Compress(buffer_);
        buffered_ = 0;
    }
    std::memset(buffer_ + buffered_, 0, 120 - buffered_);
    StoreBig(buffer_ + 120, bits);
    Compress(buffer_);
    for (int i = 0; i < 8; ++i) StoreBig(digest + 8 * i, state_[i]);
    Reset();
}

std::string Sha512Digest(const std::string& message) {
    Sha512 hash;
    hash.Update(message.data(), message.size());
    unsigned char digest[Sha512::kDigestSize];
    hash.Final(digest);
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

} // namespace vur
