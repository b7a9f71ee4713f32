// Bytes as hexadecimal text.
#include "shared/hex_text.h"

namespace vur {

std::string LowerHex(const void* bytes, std::size_t length) {
    static const char kDigits[] = "0123456789abcdef";
    const auto* in = static_cast<const unsigned char*>(bytes);
    std::string hex;
    hex.reserve(2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        hex += kDigits[in[i] >> 4];
        hex += kDigits[in[i] & 15];
    }
    return hex;
}

} // namespace vur
