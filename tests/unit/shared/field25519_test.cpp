// The field's canonical form at the edges of its range, where a reduction that is one step short shows:
// values at and just above p, the largest 255-bit value, and products of elements left uncarried.
#include "shared/field25519.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace f = vur::field25519;

namespace {

using Bytes = std::array<unsigned char, 32>;

// p + k for a small k >= -19 (p = 2^255 - 19), little-endian, bit 255 left clear when the value fits.
Bytes PPlus(int k) {
    Bytes b;
    b.fill(0xFF);
    b[31] = 0x7F;
    int low = 0xED + k; // p's lowest byte is 0xED
    b[0] = static_cast<unsigned char>(low & 0xFF);
    for (int i = 1; low > 0xFF && i < 32; ++i) { // carry into the bytes above
        low = b[i] + 1;
        b[i] = static_cast<unsigned char>(low & 0xFF);
    }
    return b;
}

Bytes Small(unsigned value) {
    Bytes b{};
    b[0] = static_cast<unsigned char>(value);
    b[1] = static_cast<unsigned char>(value >> 8);
    return b;
}

Bytes Canonical(const f::Fe& e) {
    Bytes b;
    f::ToBytes(b.data(), e);
    return b;
}

f::Fe From(const Bytes& b) { return f::FromBytes(b.data()); }

} // namespace

TEST(Field25519, CanonicalFormAtTheEdgesAndUncarriedProducts) {
    EXPECT_EQ(Canonical(From(PPlus(0))), Small(0));
    EXPECT_EQ(Canonical(From(PPlus(1))), Small(1));
    EXPECT_EQ(Canonical(From(PPlus(18))), Small(18)); // 2^255 - 1, the largest value FromBytes takes
    EXPECT_EQ(Canonical(From(PPlus(-1))), PPlus(-1));  // p - 1 stays as it is
    EXPECT_EQ(Canonical(f::Neg(f::FromInt(1))), PPlus(-1));
    EXPECT_EQ(Canonical(f::FromInt(-5)), PPlus(-5));
    EXPECT_EQ(Canonical(f::Sub(f::FromInt(3), f::FromInt(3))), Small(0));
    EXPECT_TRUE(f::IsZero(From(PPlus(0))));
    EXPECT_FALSE(f::IsNegative(From(PPlus(0))));
    EXPECT_TRUE(f::IsNegative(From(PPlus(-2)))); // p - 2 is odd

    // (p - 1)^2 = 1, and (2^255 - 1) = 18 modulo p, also when the operands are sums and differences of three
    // carried elements, the most the arithmetic promises to take.
    const f::Fe minusOne = From(PPlus(-1));
    EXPECT_EQ(Canonical(f::Mul(minusOne, minusOne)), Small(1));
    EXPECT_EQ(Canonical(f::Square(minusOne)), Small(1));
    const f::Fe top = From(PPlus(18));
    const f::Fe sum3 = f::Add(f::Add(top, top), top); // 54
    const f::Fe diff3 = f::Sub(f::Add(top, top), f::Neg(top)); // 54 as well
    EXPECT_EQ(Canonical(f::Mul(sum3, diff3)), Small(54 * 54));
    EXPECT_EQ(Canonical(f::Square(diff3)), Small(54 * 54));
    EXPECT_EQ(Canonical(f::Mul(f::Sub(f::FromInt(0), sum3), sum3)), Canonical(f::Neg(f::FromInt(54 * 54))));
    EXPECT_TRUE(f::Equal(f::Mul(f::Invert(sum3), sum3), f::FromInt(1)));
}
