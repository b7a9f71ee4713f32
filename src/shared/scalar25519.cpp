// Arithmetic modulo L by plain shift-and-subtract: a verification reduces one hash, far less work than its
// scalar multiplications, so clarity wins over speed here.
#include "shared/scalar25519.h"

#include <cstdint>

namespace vur::scalar25519 {

namespace {

constexpr unsigned char kL[32] = {0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7,
                                  0xa2, 0xde, 0xf9, 0xde, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10};

// 32-bit words, least significant first; eight of them hold anything below 2L.
struct Words {
    std::uint32_t w[8] = {};
};

Words FromBytes(const unsigned char bytes[32]) {
    Words r;
    for (int i = 0; i < 32; ++i) r.w[i / 4] |= std::uint32_t(bytes[i]) << (8 * (i % 4));
    return r;
}

bool AtLeast(const Words& a, const Words& b) {
    for (int i = 7; i >= 0; --i)
        if (a.w[i] != b.w[i]) return a.w[i] > b.w[i];
    return true;
}

void Subtract(Words& a, const Words& b) {
    std::uint64_t borrow = 0;
    for (int i = 0; i < 8; ++i) {
        const std::uint64_t d = std::uint64_t(a.w[i]) - b.w[i] - borrow;
        a.w[i] = static_cast<std::uint32_t>(d);
        borrow = (d >> 32) & 1;
    }
}

} // namespace

void Reduce(unsigned char out[32], const unsigned char* in, std::size_t length) {
    // Bit by bit from the top: r = 2r + bit, kept below L.
    static const Words l = FromBytes(kL);
    Words r;
    for (std::size_t bit = length * 8; bit-- > 0;) {
        for (int i = 7; i > 0; --i) r.w[i] = (r.w[i] << 1) | (r.w[i - 1] >> 31);
        r.w[0] = (r.w[0] << 1) | ((in[bit / 8] >> (bit % 8)) & 1);
        if (AtLeast(r, l)) Subtract(r, l);
    }
    for (int i = 0; i < 32; ++i) out[i] = static_cast<unsigned char>(r.w[i / 4] >> (8 * (i % 4)));
}

void MulAdd(unsigned char out[32], const unsigned char a[32], const unsigned char b[32], const unsigned char c[32]) {
    // The 512-bit product by schoolbook multiplication of 32-bit words, then c, then one reduction.
    const Words x = FromBytes(a), y = FromBytes(b), z = FromBytes(c);
    std::uint32_t wide[16] = {};
    for (int i = 0; i < 8; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < 8; ++j) {
            const std::uint64_t t = std::uint64_t(x.w[i]) * y.w[j] + wide[i + j] + carry;
            wide[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        wide[i + 8] = static_cast<std::uint32_t>(carry);
    }
    std::uint64_t carry = 0;
    for (int i = 0; i < 16; ++i) {
        const std::uint64_t t = std::uint64_t(wide[i]) + (i < 8 ? z.w[i] : 0) + carry;
        wide[i] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    // a, b and c are below 2^256, so a*b + c < 2^512 and nothing carries out.
    unsigned char bytes[64];
    for (int i = 0; i < 64; ++i) bytes[i] = static_cast<unsigned char>(wide[i / 4] >> (8 * (i % 4)));
    Reduce(out, bytes, sizeof bytes);
}

bool IsCanonical(const unsigned char s[32]) {
    static const Words l = FromBytes(kL);
    return !AtLeast(FromBytes(s), l);
}

} // namespace vur::scalar25519
