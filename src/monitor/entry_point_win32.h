// Taking an entry point of a library bound at run time into a typed function pointer (Windows builds only).
#pragma once

#include <windows.h>

namespace vurmon {

// Null when the library lacks the entry point.
template <typename Fn>
void BindEntryPoint(HMODULE library, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace vurmon
