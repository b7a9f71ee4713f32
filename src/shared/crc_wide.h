// The CRC over long runs with the processor's carry-less multiply, where the processor has one and the
// system saves its vector registers; the table routine covers everything else.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vur {

// Runs of at least this many bytes are worth the vector set-up.
constexpr std::size_t kWideCrcMinimum = 64;

// True when CrcUpdateWide may be called: x86 with PCLMULQDQ and SSE2, and a system that keeps the XMM
// registers across task switches. Asked once.
bool WideCrcAvailable();

// The same running value as the table routine gives for these bytes; length >= kWideCrcMinimum.
std::uint32_t CrcUpdateWide(std::uint32_t running, const void* bytes, std::size_t length);

} // namespace vur
