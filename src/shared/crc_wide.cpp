// Folding with carry-less multiplication. The bytes are a polynomial over GF(2), first bit highest; a CRC
// only depends on that polynomial modulo P, so a 128-bit block may be replaced by any block congruent to it
// at the same place. Four running blocks each take the block 64 bytes on (fold by 512 bits), then they are
// folded into one, which the table routine finishes: no reduction constants beyond the two fold distances.
#include "shared/crc_wide.h"

#include "shared/crc.h"
#include "shared/processor_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#include <wmmintrin.h>
#define VUR_WIDE_CRC 1
#endif

namespace vur {

#ifdef VUR_WIDE_CRC

namespace {

// x^n mod P as a 64-bit operand in the reflected order the data has (bit i is the coefficient of x^(63-i)).
// P is the IEEE 802.3 polynomial, here in its plain order: x^32 + 0x04C11DB7.
std::uint64_t PowerModP(unsigned n) {
    std::uint64_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & 0x100000000ull) r ^= 0x104C11DB7ull;
    }
    std::uint64_t reflected = 0;
    for (unsigned d = 0; d < 32; ++d)
        if (r & (1ull << d)) reflected |= 1ull << (63 - d);
    return reflected;
}

// Folding a block forward by D bits: its first half L stands for L·x^(64+D), its second half H for H·x^D.
// The carry-less product of two reflected 64-bit operands carries one extra factor x, so the constants are
// x^(63+D) and x^(D-1), reduced modulo P (below 32 bits, so each product stays below 96 bits).
struct FoldConstants {
    std::uint64_t by128[2] = {PowerModP(191), PowerModP(127)};
    std::uint64_t by512[2] = {PowerModP(575), PowerModP(511)};
};

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i block, __m128i constants, __m128i next) {
    const __m128i first = _mm_clmulepi64_si128(block, constants, 0x00);
    const __m128i second = _mm_clmulepi64_si128(block, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(first, second), next);
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

} // namespace

bool WideCrcAvailable() {
    static const bool available = CarrylessMultiplyUsable();
    return available;
}

__attribute__((target("pclmul,sse2"))) std::uint32_t CrcUpdateWide(std::uint32_t running, const void* bytes,
                                                                    std::size_t length) {
    static const FoldConstants constants;
    const __m128i by128 = Load(reinterpret_cast<const std::uint8_t*>(constants.by128));
    const __m128i by512 = Load(reinterpret_cast<const std::uint8_t*>(constants.by512));
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    // The running value enters as the first four bytes xor-ed with it, as in the table routine's first step.
    __m128i a = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(running)));
    __m128i b = Load(p + 16), c = Load(p + 32), d = Load(p + 48);
    p += 64;
    length -= 64;
    for (; length >= 64; p += 64, length -= 64) {
        a = Fold(a, by512, Load(p));
        b = Fold(b, by512, Load(p + 16));
        c = Fold(c, by512, Load(p + 32));
        d = Fold(d, by512, Load(p + 48));
    }
    a = Fold(Fold(Fold(a, by128, b), by128, c), by128, d);
    for (; length >= 16; p += 16, length -= 16) a = Fold(a, by128, Load(p));

    alignas(16) std::uint8_t last[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(last), a);
    return CrcUpdate(CrcUpdate(0, last, sizeof last), p, length);
}

#else

bool WideCrcAvailable() { return false; }

std::uint32_t CrcUpdateWide(std::uint32_t running, const void* bytes, std::size_t length) {
    return CrcUpdate(running, bytes, length);
}

#endif

} // namespace vur
