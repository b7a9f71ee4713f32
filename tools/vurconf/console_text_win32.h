// Text for one output handle on Windows (Windows builds only).
#pragma once

#include <windows.h>

#include <string>

namespace vurconf {

// A console (cmd.exe) shows the OEM code page, so ANSI text for it is converted; a file or pipe gets the ANSI
// bytes as they are, as every other program of the suite writes them.
std::string AnsiToOutput(HANDLE output, const std::string& ansi);

} // namespace vurconf
