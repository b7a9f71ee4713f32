// Bytes as hexadecimal text and back: keys, hashes, download names and patterns.
#pragma once

#include <cstddef>
#include <string>

namespace vur {

// 0-15 for 0-9, a-f and A-F; -1 for any other character.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Two lower-case hex digits per byte, in order.
std::string LowerHex(const void* bytes, std::size_t length);

} // namespace vur
