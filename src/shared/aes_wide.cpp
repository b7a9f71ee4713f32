// AESENC performs ShiftRows, SubBytes, MixColumns and AddRoundKey of one round on a state held in the byte
// order of FIPS-197, AESENCLAST the last round without MixColumns; the round keys are our own schedule's.
#include "shared/aes_wide.h"

#include "shared/processor_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#include <wmmintrin.h>
#define VUR_WIDE_AES 1
#endif

namespace vur {

#ifdef VUR_WIDE_AES

bool WideAesAvailable() {
    static const bool available = AesRoundsUsable();
    return available;
}

__attribute__((target("aes,sse2"))) void Feedback8Wide(const std::uint8_t (*roundKeys)[16], int rounds,
                                                       std::uint8_t* chain, const std::uint8_t* in,
                                                       std::uint8_t* out, std::size_t length, bool decrypt) {
    constexpr int kMaxRounds = 14;
    __m128i keys[kMaxRounds + 1];
    for (int r = 0; r <= rounds; ++r) keys[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(roundKeys[r]));
    __m128i shift = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chain));
    for (std::size_t i = 0; i < length; ++i) {
        __m128i block = _mm_xor_si128(shift, keys[0]);
        for (int r = 1; r < rounds; ++r) block = _mm_aesenc_si128(block, keys[r]);
        block = _mm_aesenclast_si128(block, keys[rounds]);
        const auto pad = static_cast<std::uint8_t>(_mm_cvtsi128_si32(block));
        const std::uint8_t source = in[i];
        const auto cipherByte = static_cast<std::uint8_t>(decrypt ? source : source ^ pad);
        out[i] = static_cast<std::uint8_t>(source ^ pad);
        // The register moves on by one byte: its first byte leaves, the cipher byte comes in last.
        shift = _mm_or_si128(_mm_srli_si128(shift, 1), _mm_slli_si128(_mm_cvtsi32_si128(cipherByte), 15));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(chain), shift);
    for (int r = 0; r <= rounds; ++r) keys[r] = _mm_setzero_si128();
}

#else

bool WideAesAvailable() { return false; }

void Feedback8Wide(const std::uint8_t (*)[16], int, std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t,
                   bool) {}

#endif

} // namespace vur
