// Where a module lives: its own file path and the program folder it belongs to (Windows builds only).
#pragma once

#include <windows.h>

#include <string>

namespace vur {

// The full path of the module's file (null: the program), read with a buffer of 260 characters.
std::string ModuleFileName(HMODULE module);

// The module's folder with its trailing backslash: every companion file is addressed relative to it.
std::string ModuleFolder(HMODULE module);

// The module that contains this code (the program, or the library this is linked into).
HMODULE ThisModule();

} // namespace vur
