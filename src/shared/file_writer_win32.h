// Writing a whole small file in one go, so that a failure never leaves half a file behind (Windows builds only).
#pragma once

#include <string>

#include "shared/handles_win32.h"

namespace vur {

// Writes `content` to the freshly created `file` (of `path`). On failure the file is closed and deleted, and
// EVurError says `what` + " " + path + " (error N)".
void WriteAllOrDelete(ScopedFile& file, const std::string& path, const std::string& content, const std::string& what);

} // namespace vur
