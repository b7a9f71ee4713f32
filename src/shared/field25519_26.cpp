// Field arithmetic modulo 2^255 - 19 in ten limbs of 26 and 25 bits, for targets without 128-bit products.
#include "shared/field25519.h"

#if !VUR_FIELD25519_WIDE

#include <cstring>

namespace vur::field25519 {

namespace {

using I64 = std::int64_t;

constexpr int kOffset[11] = {0, 26, 51, 77, 102, 128, 153, 179, 204, 230, 255};
constexpr int Width(int i) { return (i & 1) ? 25 : 26; }

// Limbs of p itself, for the canonical form.
constexpr std::int32_t kP[10] = {(1 << 26) - 19, (1 << 25) - 1, (1 << 26) - 1, (1 << 25) - 1, (1 << 26) - 1,
                                 (1 << 25) - 1,  (1 << 26) - 1, (1 << 25) - 1, (1 << 26) - 1, (1 << 25) - 1};

// Carries with rounding, so each limb ends in [-2^(w-1), 2^(w-1)]; what leaves the top limb comes back in at
// the bottom times 19, as 2^255 = 19 modulo p. A second carry out of limb 0 bounds it again. (Multiplying
// instead of shifting left keeps negative values well defined.)
Fe CarryWide(I64 h[10]) {
#pragma GCC unroll 10
    for (int i = 0; i < 10; ++i) {
        const I64 c = (h[i] + (I64(1) << (Width(i) - 1))) >> Width(i);
        h[i] -= c * (I64(1) << Width(i));
        if (i < 9) h[i + 1] += c;
        else h[0] += 19 * c;
    }
    const I64 c = (h[0] + (I64(1) << 25)) >> 26;
    h[0] -= c * (I64(1) << 26);
    h[1] += c;
    Fe r;
    for (int i = 0; i < 10; ++i) r.v[i] = static_cast<std::int32_t>(h[i]);
    return r;
}

// Limb i times limb j has the weight 2^(offset(i) + offset(j)): that is offset(i + j), doubled when both
// limbs are 25 bits wide, and a weight of 2^255 or more folds back times 19.
inline I64 Product(std::int32_t a, std::int32_t b) { return static_cast<I64>(a) * b; }

} // namespace

Fe FromInt(std::int32_t small) {
    Fe r{};
    r.v[0] = small;
    return r;
}

Fe FromBytes(const unsigned char bytes[32]) {
    I64 h[10];
    for (int i = 0; i < 10; ++i) {
        // Five bytes hold any limb wherever it starts within its first byte.
        std::uint64_t window = 0;
        const int first = kOffset[i] / 8;
        for (int b = 4; b >= 0; --b) window = (window << 8) | (first + b < 32 ? bytes[first + b] : 0);
        const int width = kOffset[i + 1] - kOffset[i];
        h[i] = static_cast<I64>((window >> (kOffset[i] % 8)) & ((std::uint64_t(1) << width) - 1));
    }
    return CarryWide(h);
}

void ToBytes(unsigned char bytes[32], const Fe& f) {
    // After a carry the value lies within +-2^254.1, so adding p brings it into [0, 2p); q says whether it
    // is p or more (floor((v + 19) / 2^255)), and v + 19q with bit 255 dropped is v - qp.
    Fe c = Carry(f);
    I64 h[10];
    for (int i = 0; i < 10; ++i) h[i] = I64(c.v[i]) + kP[i];
    I64 q = (h[0] + 19) >> 26;
    for (int i = 1; i < 10; ++i) q = (h[i] + q) >> Width(i);
    h[0] += 19 * q;
    for (int i = 0; i < 10; ++i) {
        const I64 carry = h[i] >> Width(i);
        h[i] -= carry * (I64(1) << Width(i));
        if (i < 9) h[i + 1] += carry;
    }
    std::memset(bytes, 0, 32);
    for (int i = 0; i < 10; ++i) {
        // Each limb is now in [0, 2^width) and spans at most five bytes from where it starts.
        const std::uint64_t part = static_cast<std::uint64_t>(h[i]) << (kOffset[i] % 8);
        for (int b = 0; b < 5 && kOffset[i] / 8 + b < 32; ++b)
            bytes[kOffset[i] / 8 + b] |= static_cast<unsigned char>(part >> (8 * b));
    }
}

Fe Add(const Fe& f, const Fe& g) {
    Fe r;
    for (int i = 0; i < 10; ++i) r.v[i] = f.v[i] + g.v[i];
    return r;
}

Fe Sub(const Fe& f, const Fe& g) {
    Fe r;
    for (int i = 0; i < 10; ++i) r.v[i] = f.v[i] - g.v[i];
    return r;
}

Fe Neg(const Fe& f) {
    Fe r;
    for (int i = 0; i < 10; ++i) r.v[i] = -f.v[i];
    return r;
}

Fe Carry(const Fe& f) {
    I64 h[10];
    for (int i = 0; i < 10; ++i) h[i] = f.v[i];
    return CarryWide(h);
}

Fe Mul(const Fe& f, const Fe& g) {
    std::int32_t g19[10], f2[10];
    for (int i = 0; i < 10; ++i) {
        g19[i] = 19 * g.v[i];
        f2[i] = (i & 1) ? 2 * f.v[i] : f.v[i];
    }
    I64 h[10] = {};
#pragma GCC unroll 10
    for (int i = 0; i < 10; ++i)
#pragma GCC unroll 10
        for (int j = 0; j < 10; ++j) {
            const std::int32_t a = (j & 1) ? f2[i] : f.v[i];
            h[(i + j) % 10] += Product(a, i + j >= 10 ? g19[j] : g.v[j]);
        }
    return CarryWide(h);
}

Fe Square(const Fe& f) {
    // Each pair of limbs once, doubled when they differ.
    I64 h[10] = {};
#pragma GCC unroll 10
    for (int i = 0; i < 10; ++i)
#pragma GCC unroll 10
        for (int j = i; j < 10; ++j) {
            const std::int32_t a = f.v[i] * ((i == j ? 1 : 2) * ((i & j & 1) ? 2 : 1));
            h[(i + j) % 10] += Product(a, i + j >= 10 ? 19 * f.v[j] : f.v[j]);
        }
    return CarryWide(h);
}

} // namespace vur::field25519

#endif
