// What the field needs beyond its limb arithmetic: inversion, the square root's power, and the tests on the
// canonical form; the same for both representations.
#include "shared/field25519.h"

namespace vur::field25519 {

namespace {

Fe SquareTimes(Fe f, int times) {
    while (times-- > 0) f = Square(f);
    return f;
}

// f^(2^250 - 1), the common part of both exponents, by an addition chain of 254 squarings.
Fe Pow2_250Minus1(const Fe& f, Fe& f11) {
    const Fe f2 = Square(f);
    const Fe f9 = Mul(SquareTimes(f2, 2), f);
    f11 = Mul(f9, f2);
    const Fe f5_0 = Mul(Square(f11), f9);                   // 2^5 - 1
    const Fe f10_0 = Mul(SquareTimes(f5_0, 5), f5_0);       // 2^10 - 1
    const Fe f20_0 = Mul(SquareTimes(f10_0, 10), f10_0);    // 2^20 - 1
    const Fe f40_0 = Mul(SquareTimes(f20_0, 20), f20_0);    // 2^40 - 1
    const Fe f50_0 = Mul(SquareTimes(f40_0, 10), f10_0);    // 2^50 - 1
    const Fe f100_0 = Mul(SquareTimes(f50_0, 50), f50_0);   // 2^100 - 1
    const Fe f200_0 = Mul(SquareTimes(f100_0, 100), f100_0); // 2^200 - 1
    return Mul(SquareTimes(f200_0, 50), f50_0);             // 2^250 - 1
}

} // namespace

Fe Invert(const Fe& f) {
    Fe f11;
    const Fe t = Pow2_250Minus1(f, f11);
    return Mul(SquareTimes(t, 5), f11); // 2^255 - 32 + 11 = p - 2
}

Fe PowP58(const Fe& f) {
    Fe f11;
    const Fe t = Pow2_250Minus1(f, f11);
    return Mul(SquareTimes(t, 2), f); // 2^252 - 4 + 1 = (p - 5) / 8
}

bool IsZero(const Fe& f) {
    unsigned char bytes[32];
    ToBytes(bytes, f);
    unsigned char any = 0;
    for (unsigned char b : bytes) any |= b;
    return any == 0;
}

bool IsNegative(const Fe& f) {
    unsigned char bytes[32];
    ToBytes(bytes, f);
    return bytes[0] & 1;
}

bool Equal(const Fe& f, const Fe& g) { return IsZero(Sub(f, g)); }

} // namespace vur::field25519
