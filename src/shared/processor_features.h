// What the processor and the system allow beyond the i386 instruction set.
#pragma once

namespace vur {

// PCLMULQDQ and SSE2 are there and the system saves the XMM registers for every thread.
bool CarrylessMultiplyUsable();

// The AES round instructions and SSE2 are there and the system saves the XMM registers for every thread.
bool AesRoundsUsable();

} // namespace vur
