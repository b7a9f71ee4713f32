// CFB-8 over the processor's AES round instructions, where the processor has them and the system saves its
// vector registers; the table routine of TDCP_rijndael covers everything else. Each byte's block needs the
// byte before it, so the gain is the shorter round, not blocks in parallel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vur {

// True when Feedback8Wide may be called. Asked once.
bool WideAesAvailable();

// One CFB-8 pass over `length` bytes (in and out may be the same buffer). `roundKeys` holds rounds + 1 round
// keys in the byte order of FIPS-197 (byte 4c + r is row r of column c); `chain` is the feedback register,
// carried on for the next call.
void Feedback8Wide(const std::uint8_t (*roundKeys)[16], int rounds, std::uint8_t* chain, const std::uint8_t* in,
                   std::uint8_t* out, std::size_t length, bool decrypt);

} // namespace vur
