// Console text on Windows: arguments and output stay in the ANSI code page.
#include "console_text.h"

namespace vurconf {

bool ArgumentToCp1252(const std::string& argument, std::string& cp1252) {
    cp1252 = argument;
    return true;
}

std::string Cp1252ToConsole(const std::string& cp1252) { return cp1252; }

} // namespace vurconf
