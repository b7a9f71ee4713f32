// Base64 of RFC 4648 as the settings file uses it: '=' padding, no line breaks, lenient decoding.
#pragma once

#include <string>

namespace vur {

std::string Base64Encode(const std::string& bytes);

// Raises EBase64Error("Base64: Incorrect string format") when the length is not a multiple of 4.
// Characters outside the alphabet are not rejected: each of them counts as 63.
std::string Base64Decode(const std::string& text);

} // namespace vur
