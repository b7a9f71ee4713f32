// Conversion between UTF-8 (the Linux console) and CP1252 (what the suite stores and shows).
#pragma once

#include <string>

namespace vurconf {

// Fails (returns false) on malformed UTF-8 or a character CP1252 cannot hold.
bool Utf8ToCp1252(const std::string& utf8, std::string& cp1252);

// Total: the five bytes CP1252 leaves undefined become the C1 controls of the same value, as Windows does.
std::string Cp1252ToUtf8(const std::string& cp1252);

} // namespace vurconf
