// Arithmetic modulo p = 2^255 - 19, the field of Curve25519 and Ed25519.
//
// An element is ten signed limbs at the bit offsets 0, 26, 51, 77, ... 230 (alternately 26 and 25 bits wide),
// so that every product of two limbs is one 32 x 32 -> 64-bit multiplication on i686 as on x86-64. Mul and
// Square return "carried" elements, each limb at most 2^25 in magnitude (2^24 for the 25-bit limbs); Add and
// Sub do not carry. Every operand of Mul and Square must be the sum or difference of at most three carried
// elements: then no intermediate leaves its 32- or 64-bit type. Carry restores a carried element.
#pragma once

#include <cstdint>

namespace vur::field25519 {

struct Fe {
    std::int32_t v[10];
};

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
