// Curve operations for Ed25519: the addition and doubling formulas of RFC 8032 5.1.4 in extended
// coordinates, and scalar multiplication by sliding windows over signed odd digits (width-w NAF) with
// the doublings of two scalars shared.
#include "shared/edwards25519.h"

#include <cstdint>
#include <cstring>

namespace vur::edwards25519 {

using namespace field25519;

namespace {

Fe Constant(const unsigned char (&bytes)[32]) { return FromBytes(bytes); }

// d = -121665/121666, 2d, sqrt(-1) = 2^((p-1)/4), and the base point's y = 4/5, all modulo p.
constexpr unsigned char kD[32] = {0xa3, 0x78, 0x59, 0x13, 0xca, 0x4d, 0xeb, 0x75, 0xab, 0xd8, 0x41,
                                  0x41, 0x4d, 0x0a, 0x70, 0x00, 0x98, 0xe8, 0x79, 0x77, 0x79, 0x40,
                                  0xc7, 0x8c, 0x73, 0xfe, 0x6f, 0x2b, 0xee, 0x6c, 0x03, 0x52};
constexpr unsigned char k2D[32] = {0x59, 0xf1, 0xb2, 0x26, 0x94, 0x9b, 0xd6, 0xeb, 0x56, 0xb1, 0x83,
                                   0x82, 0x9a, 0x14, 0xe0, 0x00, 0x30, 0xd1, 0xf3, 0xee, 0xf2, 0x80,
                                   0x8e, 0x19, 0xe7, 0xfc, 0xdf, 0x56, 0xdc, 0xd9, 0x06, 0x24};
constexpr unsigned char kSqrtMinus1[32] = {0xb0, 0xa0, 0x0e, 0x4a, 0x27, 0x1b, 0xee, 0xc4, 0x78, 0xe4, 0x2f,
                                           0xad, 0x06, 0x18, 0x43, 0x2f, 0xa7, 0xd7, 0xfb, 0x3d, 0x99, 0x00,
                                           0x4d, 0x2b, 0x0b, 0xdf, 0xc1, 0x4f, 0x80, 0x24, 0x83, 0x2b};
constexpr unsigned char kBase[32] = {0x58, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66,
                                     0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66,
                                     0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66};

// A point prepared for adding: y + x, y - x, 2z and 2dt, each carried.
struct Cached {
    Fe yPlusX, yMinusX, z2, t2d;
};

Point Identity() { return Point{FromInt(0), FromInt(1), FromInt(1), FromInt(0)}; }

Cached Prepare(const Point& p) {
    static const Fe twoD = Constant(k2D);
    return Cached{Carry(Add(p.Y, p.X)), Carry(Sub(p.Y, p.X)), Carry(Add(p.Z, p.Z)), Mul(p.T, twoD)};
}

// P + Q, or P - Q with `subtract` (-Q swaps y + x with y - x and negates t). Only an addition reads the
// t of its operand, so a result that is doubled next goes without it (`withT` false: T is left unset).
Point AddCached(const Point& p, const Cached& q, bool subtract, bool withT = true) {
    const Fe a = Mul(Sub(p.Y, p.X), subtract ? q.yPlusX : q.yMinusX);
    const Fe b = Mul(Add(p.Y, p.X), subtract ? q.yMinusX : q.yPlusX);
    const Fe c = subtract ? Neg(Mul(p.T, q.t2d)) : Mul(p.T, q.t2d);
    const Fe d = Mul(p.Z, q.z2);
    const Fe e = Sub(b, a), f = Sub(d, c), g = Add(d, c), h = Add(b, a);
    return Point{Mul(e, f), Mul(g, h), Mul(f, g), withT ? Mul(e, h) : Fe{}};
}

Point Double(const Point& p, bool withT = true) {
    const Fe a = Square(p.X), b = Square(p.Y);
    const Fe zz = Square(p.Z);
    const Fe c = Carry(Add(zz, zz));
    const Fe h = Add(a, b);
    const Fe e = Sub(h, Square(Add(p.X, p.Y)));
    const Fe g = Sub(a, b);
    const Fe f = Add(c, g);
    return Point{Mul(e, f), Mul(g, h), Mul(f, g), withT ? Mul(e, h) : Fe{}};
}

// The odd multiples P, 3P, 5P, ... (2^(w-1) - 1)P.
template <int W>
struct OddMultiples {
    Cached entry[1 << (W - 2)];
    explicit OddMultiples(const Point& p) {
        const Cached twice = Prepare(Double(p));
        Point current = p;
        entry[0] = Prepare(current);
        for (int i = 1; i < (1 << (W - 2)); ++i) {
            current = AddCached(current, twice, false);
            entry[i] = Prepare(current);
        }
    }
};

// The scalar as signed digits, least significant first: each non-zero digit odd and below 2^(w-1) in
// magnitude, and followed by at least w-1 zeros, so a window of w-1 bits costs one addition.
template <int W>
void SignedDigits(const unsigned char scalar[32], std::int8_t digits[257]) {
    std::uint32_t k[9] = {};
    for (int i = 0; i < 32; ++i) k[i / 4] |= std::uint32_t(scalar[i]) << (8 * (i % 4));
    for (int position = 0; position < 257; ++position) {
        int digit = 0;
        if (k[0] & 1) {
            digit = static_cast<int>(k[0] & ((1u << W) - 1));
            if (digit >= (1 << (W - 1))) digit -= 1 << W;
            // k -= digit: a positive digit is k's own low bits, so nothing borrows; a negative one is added
            // and may carry up the words.
            if (digit > 0) {
                k[0] -= static_cast<std::uint32_t>(digit);
            } else {
                std::uint64_t carry = static_cast<std::uint32_t>(-digit);
                for (int i = 0; i < 9 && carry; ++i) {
                    const std::uint64_t sum = std::uint64_t(k[i]) + carry;
                    k[i] = static_cast<std::uint32_t>(sum);
                    carry = sum >> 32;
                }
            }
        }
        digits[position] = static_cast<std::int8_t>(digit);
        for (int i = 0; i < 8; ++i) k[i] = (k[i] >> 1) | (k[i + 1] << 31);
        k[8] >>= 1;
    }
}

constexpr int kBaseWindow = 7;  // the base point's table is made once, so it may be large
constexpr int kPointWindow = 5; // a table made per verification

const OddMultiples<kBaseWindow>& BaseTable() {
    static const OddMultiples<kBaseWindow> table = [] {
        Point base;
        Decode(base, kBase);
        return OddMultiples<kBaseWindow>(base);
    }();
    return table;
}

void AddDigit(Point& r, const Cached* table, int digit, bool withT) {
    if (digit > 0) r = AddCached(r, table[digit / 2], false, withT);
    else if (digit < 0) r = AddCached(r, table[-digit / 2], true, withT);
}

} // namespace

bool Decode(Point& point, const unsigned char bytes[32]) {
    unsigned char yBytes[32];
    std::memcpy(yBytes, bytes, 32);
    const bool sign = yBytes[31] >> 7;
    yBytes[31] &= 0x7F;
    const Fe y = FromBytes(yBytes);
    unsigned char canonical[32];
    ToBytes(canonical, y);
    if (std::memcmp(canonical, yBytes, 32) != 0) return false;

    // x^2 = u/v with u = y^2 - 1 and v = d y^2 + 1; the candidate root is u v^3 (u v^7)^((p-5)/8).
    static const Fe d = Constant(kD);
    const Fe one = FromInt(1);
    const Fe yy = Square(y);
    const Fe u = Carry(Sub(yy, one));
    const Fe v = Carry(Add(Mul(d, yy), one));
    const Fe v3 = Mul(Square(v), v);
    const Fe uv7 = Mul(u, Mul(Square(v3), v));
    Fe x = Mul(Mul(u, v3), PowP58(uv7));
    const Fe vxx = Mul(v, Square(x));
    if (!Equal(vxx, u)) {
        if (!IsZero(Add(vxx, u))) return false;
        static const Fe sqrtMinus1 = Constant(kSqrtMinus1);
        x = Mul(x, sqrtMinus1);
    }
    if (IsZero(x) && sign) return false;
    if (IsNegative(x) != sign) x = Neg(x);
    point = Point{x, y, FromInt(1), Mul(x, y)};
    return true;
}

void Encode(unsigned char bytes[32], const Point& point) {
    const Fe inverse = Invert(point.Z);
    ToBytes(bytes, Mul(point.Y, inverse));
    if (IsNegative(Mul(point.X, inverse))) bytes[31] |= 0x80;
}

Point Negate(const Point& point) { return Point{Neg(point.X), point.Y, point.Z, Neg(point.T)}; }

Point BaseMultiple(const unsigned char a[32]) {
    std::int8_t digits[257];
    SignedDigits<kBaseWindow>(a, digits);
    const OddMultiples<kBaseWindow>& table = BaseTable();
    Point r = Identity();
    for (int i = 256; i >= 0; --i) {
        r = Double(r, digits[i] != 0 || i == 0);
        AddDigit(r, table.entry, digits[i], i == 0);
    }
    return r;
}

Point DoubleMultiple(const unsigned char a[32], const unsigned char b[32], const Point& p) {
    std::int8_t aDigits[257], bDigits[257];
    SignedDigits<kBaseWindow>(a, aDigits);
    SignedDigits<kPointWindow>(b, bDigits);
    const OddMultiples<kBaseWindow>& baseTable = BaseTable();
    const OddMultiples<kPointWindow> pointTable(p);
    int top = 256;
    while (top >= 0 && aDigits[top] == 0 && bDigits[top] == 0) --top;
    Point r = Identity();
    // The last step keeps T, as the caller may add to the result.
    for (int i = top; i >= 0; --i) {
        r = Double(r, aDigits[i] != 0 || bDigits[i] != 0 || i == 0);
        AddDigit(r, baseTable.entry, aDigits[i], bDigits[i] != 0 || i == 0);
        AddDigit(r, pointTable.entry, bDigits[i], i == 0);
    }
    return r;
}

} // namespace vur::edwards25519
