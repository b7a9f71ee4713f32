// Loading a library of the system from the system folder (Windows builds only).
#pragma once

#include <windows.h>

#include <string>

namespace vur {

// Null, with the reason in GetLastError, when the library cannot be loaded from the system folder; nothing
// is ever loaded from anywhere else (not even when the system folder cannot be read).
HMODULE LoadSystemLibrary(const std::string& fileName);

} // namespace vur
