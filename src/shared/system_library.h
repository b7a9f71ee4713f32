// Libraries of the system are loaded only by their full path in the system folder, so that a planted file
// of the same name in the program or current folder is never picked up.
#pragma once

#include <string>

namespace vur {

// The longest path the ANSI library calls take, with its terminating zero.
constexpr unsigned kMaxPathChars = 260;

// The full path of `fileName` in the system folder whose first `length` characters are in `folder` (the
// result of GetSystemDirectoryA); empty when that call failed (0), did not fit (`length` is then the size it
// needs) or the whole path would not fit kMaxPathChars.
std::string SystemLibraryPath(const char* folder, unsigned length, const std::string& fileName);

} // namespace vur
