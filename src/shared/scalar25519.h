// Numbers modulo the order L = 2^252 + 27742317777372353535851937790883648493 of Ed25519's base point,
// little-endian bytes in and out.
#pragma once

#include <cstddef>

namespace vur::scalar25519 {

// `length` bytes (at most 64) modulo L.
void Reduce(unsigned char out[32], const unsigned char* in, std::size_t length);
// (a * b + c) mod L.
void MulAdd(unsigned char out[32], const unsigned char a[32], const unsigned char b[32], const unsigned char c[32]);
// Whether the 32-byte number is below L: a signature's S must be (RFC 8032 5.1.7).
bool IsCanonical(const unsigned char s[32]);

} // namespace vur::scalar25519
