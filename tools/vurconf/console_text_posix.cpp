// Console text on Linux: UTF-8 both ways.
#include "console_text.h"

#include "cp1252.h"

namespace vurconf {

bool ArgumentToCp1252(const std::string& argument, std::string& cp1252) { return Utf8ToCp1252(argument, cp1252); }

std::string Cp1252ToConsole(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

} // namespace vurconf
