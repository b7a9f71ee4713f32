// Arithmetic modulo p = 2^255 - 19, the field of Curve25519 and Ed25519, in one of two representations
// chosen for the target; both give the same results, and the native tests run both.
//
// - Where the compiler has 128-bit integers (x86-64): five unsigned limbs of 51 bits, so that a product is
//   25 64 x 64 -> 128-bit multiplications. Mul and Square return "carried" elements, each limb below
//   2^51 + 2^18; Sub and Neg add 4p, so their results stay positive.
// - Otherwise (i686, or VUR_FIELD25519_LIMBS26 defined): ten signed limbs at the bit offsets 0, 26, 51, 77,
//   ... 230 (alternately 26 and 25 bits wide), so that every product of two limbs is one 32 x 32 -> 64-bit
//   multiplication. Carried elements have each limb at most 2^25 in magnitude (2^24 for the 25-bit limbs).
//
// Add and Sub do not carry. Every operand of Mul and Square must be the sum or difference of at most three
// carried elements: then no intermediate leaves its type. Carry restores a carried element.
#pragma once

#include <cstdint>

#if defined(__SIZEOF_INT128__) && !defined(VUR_FIELD25519_LIMBS26)
#define VUR_FIELD25519_WIDE 1
#else
#define VUR_FIELD25519_WIDE 0
#endif

namespace vur::field25519 {

#if VUR_FIELD25519_WIDE
struct Fe {
    std::uint64_t v[5];
};
#else
struct Fe {
    std::int32_t v[10];
};
#endif

Fe FromInt(std::int32_t small); // |small| < 2^25
// The low 255 bits of 32 little-endian bytes (the top bit is left to the caller); a value of p or more is
// taken modulo p.
Fe FromBytes(const unsigned char bytes[32]);
// The canonical form: the value in [0, p) as 32 little-endian bytes, the top bit clear.
void ToBytes(unsigned char bytes[32], const Fe& f);

Fe Add(const Fe& f, const Fe& g);
Fe Sub(const Fe& f, const Fe& g);
Fe Neg(const Fe& f);
Fe Carry(const Fe& f);
Fe Mul(const Fe& f, const Fe& g);
Fe Square(const Fe& f);
Fe Invert(const Fe& f);       // f^(p-2), 1/f for f != 0
Fe PowP58(const Fe& f);       // f^((p-5)/8), the exponent of the square root in point decoding
bool IsZero(const Fe& f);     // modulo p
bool IsNegative(const Fe& f); // the low bit of the canonical form
bool Equal(const Fe& f, const Fe& g);

} // namespace vur::field25519
