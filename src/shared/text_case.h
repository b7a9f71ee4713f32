// Letter case in the ANSI code page 1252, as the suite compares paths: A-Z and the accented capitals.
#pragma once

#include <string>

namespace vur {

// "C:\PROGRAMME\WÄHLER.EXE" -> "c:\programme\wähler.exe"; every other byte is kept.
std::string LowerCp1252(std::string text);

} // namespace vur
