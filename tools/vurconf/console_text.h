// Seam: how command-line arguments and printed text meet the console. On Linux the console speaks UTF-8 and
// the tool converts to and from CP1252; on Windows arguments and redirected output are in the ANSI code page,
// and output to a console is converted to its OEM code page.
#pragma once

#include <string>

namespace vurconf {

bool ArgumentToCp1252(const std::string& argument, std::string& cp1252);
std::string Cp1252ToConsole(const std::string& cp1252);

} // namespace vurconf
