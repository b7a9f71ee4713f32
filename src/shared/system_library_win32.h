// Loading a library of the system from the system folder, and taking its entry points (Windows builds only).
#pragma once

#include <windows.h>

#include <string>

namespace vur {

// Null, with the reason in GetLastError, when the library cannot be loaded from the system folder; nothing
// is ever loaded from anywhere else (not even when the system folder cannot be read).
HMODULE LoadSystemLibrary(const std::string& fileName);

// An entry point of a library bound at run time, as a typed function pointer; null when the library lacks
// it. Returns whether it was found.
template <typename Fn>
bool BindEntryPoint(HMODULE library, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return target != nullptr;
}

} // namespace vur
