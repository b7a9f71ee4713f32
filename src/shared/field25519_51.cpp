// Field arithmetic modulo 2^255 - 19 in five limbs of 51 bits, for targets with 128-bit products.
#include "shared/field25519.h"

#if VUR_FIELD25519_WIDE

#include <cstring>

namespace vur::field25519 {

namespace {

using U64 = std::uint64_t;
using U128 = unsigned __int128;

constexpr U64 kMask = (U64(1) << 51) - 1;
// 4p in limbs: added before a subtraction, so that any carried element, or a sum of three, can be taken away.
constexpr U64 kFourP0 = 4 * ((U64(1) << 51) - 19);
constexpr U64 kFourP = 4 * kMask;

// One pass of carries over wide limbs; what leaves the top limb comes back in at the bottom times 19, as
// 2^255 = 19 modulo p, and one more carry out of limb 0 leaves every limb below 2^51 + 2^18.
Fe CarryWide(U128 h0, U128 h1, U128 h2, U128 h3, U128 h4) {
    h1 += static_cast<U64>(h0 >> 51);
    h2 += static_cast<U64>(h1 >> 51);
    h3 += static_cast<U64>(h2 >> 51);
    h4 += static_cast<U64>(h3 >> 51);
    const U128 low = (static_cast<U64>(h0) & kMask) + U128(19) * static_cast<U64>(h4 >> 51);
    Fe r;
    r.v[0] = static_cast<U64>(low) & kMask;
    r.v[1] = (static_cast<U64>(h1) & kMask) + static_cast<U64>(low >> 51);
    r.v[2] = static_cast<U64>(h2) & kMask;
    r.v[3] = static_cast<U64>(h3) & kMask;
    r.v[4] = static_cast<U64>(h4) & kMask;
    return r;
}

inline U128 Product(U64 a, U64 b) { return static_cast<U128>(a) * b; }

} // namespace

Fe FromInt(std::int32_t small) {
    Fe r{};
    r.v[0] = static_cast<U64>(small < 0 ? -static_cast<std::int64_t>(small) : small);
    return small < 0 ? Neg(r) : r;
}

Fe FromBytes(const unsigned char bytes[32]) {
    U64 w[4];
    for (int i = 0; i < 4; ++i) {
        w[i] = 0;
        for (int b = 7; b >= 0; --b) w[i] = (w[i] << 8) | bytes[8 * i + b];
    }
    // Limb i starts at bit 51 i; a value of p or more is left as it is, which the arithmetic allows.
    Fe r;
    r.v[0] = w[0] & kMask;
    r.v[1] = ((w[0] >> 51) | (w[1] << 13)) & kMask;
    r.v[2] = ((w[1] >> 38) | (w[2] << 26)) & kMask;
    r.v[3] = ((w[2] >> 25) | (w[3] << 39)) & kMask;
    r.v[4] = (w[3] >> 12) & kMask;
    return r;
}

void ToBytes(unsigned char bytes[32], const Fe& f) {
    // Two carries leave the value below 2^255 + 19, so below 2p; q says whether it is p or more
    // (floor((v + 19) / 2^255)), and v + 19q with bit 255 dropped is v - qp.
    Fe c = Carry(Carry(f));
    U64 h[5];
    std::memcpy(h, c.v, sizeof h);
    U64 q = (h[0] + 19) >> 51;
    for (int i = 1; i < 5; ++i) q = (h[i] + q) >> 51;
    h[0] += 19 * q;
    for (int i = 0; i < 4; ++i) {
        h[i + 1] += h[i] >> 51;
        h[i] &= kMask;
    }
    h[4] &= kMask;
    const U64 w[4] = {h[0] | (h[1] << 51), (h[1] >> 13) | (h[2] << 38), (h[2] >> 26) | (h[3] << 25),
                      (h[3] >> 39) | (h[4] << 12)};
    for (int i = 0; i < 32; ++i) bytes[i] = static_cast<unsigned char>(w[i / 8] >> (8 * (i % 8)));
}

Fe Add(const Fe& f, const Fe& g) {
    Fe r;
    for (int i = 0; i < 5; ++i) r.v[i] = f.v[i] + g.v[i];
    return r;
}

Fe Sub(const Fe& f, const Fe& g) {
    Fe r;
    r.v[0] = f.v[0] + kFourP0 - g.v[0];
    for (int i = 1; i < 5; ++i) r.v[i] = f.v[i] + kFourP - g.v[i];
    return r;
}

Fe Neg(const Fe& f) { return Sub(Fe{}, f); }

Fe Carry(const Fe& f) { return CarryWide(f.v[0], f.v[1], f.v[2], f.v[3], f.v[4]); }

Fe Mul(const Fe& f, const Fe& g) {
    const U64 *a = f.v, *b = g.v;
    const U64 b1 = 19 * b[1], b2 = 19 * b[2], b3 = 19 * b[3], b4 = 19 * b[4];
    return CarryWide(Product(a[0], b[0]) + Product(a[1], b4) + Product(a[2], b3) + Product(a[3], b2) + Product(a[4], b1),
                     Product(a[0], b[1]) + Product(a[1], b[0]) + Product(a[2], b4) + Product(a[3], b3) + Product(a[4], b2),
                     Product(a[0], b[2]) + Product(a[1], b[1]) + Product(a[2], b[0]) + Product(a[3], b4) + Product(a[4], b3),
                     Product(a[0], b[3]) + Product(a[1], b[2]) + Product(a[2], b[1]) + Product(a[3], b[0]) + Product(a[4], b4),
                     Product(a[0], b[4]) + Product(a[1], b[3]) + Product(a[2], b[2]) + Product(a[3], b[1]) + Product(a[4], b[0]));
}

Fe Square(const Fe& f) {
    // Each pair of limbs once, doubled when they differ.
    const U64* a = f.v;
    const U64 d0 = 2 * a[0], d1 = 2 * a[1], d3 = 2 * a[3];
    const U64 a3_19 = 19 * a[3], a4_19 = 19 * a[4];
    return CarryWide(Product(a[0], a[0]) + Product(d1, a4_19) + Product(2 * a[2], a3_19),
                     Product(d0, a[1]) + Product(2 * a[2], a4_19) + Product(a[3], a3_19),
                     Product(d0, a[2]) + Product(a[1], a[1]) + Product(d3, a4_19),
                     Product(d0, a[3]) + Product(d1, a[2]) + Product(a[4], a4_19),
                     Product(d0, a[4]) + Product(d1, a[3]) + Product(a[2], a[2]));
}

} // namespace vur::field25519

#endif
