// The path of a system library.
#include "shared/system_library.h"

namespace vur {

std::string SystemLibraryPath(const char* folder, unsigned length, const std::string& fileName) {
    if (length == 0 || length >= kMaxPathChars || fileName.empty()) return "";
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    path += fileName;
    if (path.size() >= kMaxPathChars) return "";
    return path;
}

} // namespace vur
