// Console text on Windows: arguments arrive in the ANSI code page; output is converted for a console only.
#include "console_text.h"
#include "console_text_win32.h"

namespace vurconf {

bool ArgumentToCp1252(const std::string& argument, std::string& cp1252) {
    cp1252 = argument;
    return true;
}

std::string AnsiToOutput(HANDLE output, const std::string& ansi) {
    if (ansi.empty() || GetFileType(output) != FILE_TYPE_CHAR) return ansi;
    std::string oem(ansi.size(), '\0');
    if (!CharToOemBuffA(ansi.data(), &oem[0], static_cast<DWORD>(ansi.size()))) return ansi;
    return oem;
}

std::string Cp1252ToConsole(const std::string& cp1252) { return AnsiToOutput(GetStdHandle(STD_OUTPUT_HANDLE), cp1252); }

} // namespace vurconf
