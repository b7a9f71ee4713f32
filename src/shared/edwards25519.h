// The twisted Edwards curve -x^2 + y^2 = 1 + d x^2 y^2 over 2^255 - 19 on which Ed25519 works (RFC 8032
// section 5.1): point encoding and the scalar multiplications that signing and verification need.
#pragma once

#include "shared/field25519.h"

namespace vur::edwards25519 {

// Extended coordinates: x = X/Z, y = Y/Z, x*y = T/Z.
struct Point {
    field25519::Fe X, Y, Z, T;
};

// RFC 8032 5.1.3; false for a y of p or more, or a y with no x on the curve (or x = 0 with the sign bit set).
bool Decode(Point& point, const unsigned char bytes[32]);
// RFC 8032 5.1.2: y in little-endian order, the top bit the low bit of x.
void Encode(unsigned char bytes[32], const Point& point);

Point Negate(const Point& point);

// [a]B for the base point B, `a` 32 bytes little-endian (any 256-bit number).
Point BaseMultiple(const unsigned char a[32]);
// [a]B + [b]P in one pass of doublings.
Point DoubleMultiple(const unsigned char a[32], const unsigned char b[32], const Point& p);

} // namespace vur::edwards25519
