// Seam: every file below a folder, for the update list. Each platform lists with its own calls (on Windows
// the ANSI ones that every version has).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vurconf {

struct FolderFile {
    std::string relative; // CP1252, folders separated by backslashes
    std::string path;     // as the platform opens it
    std::uint64_t size = 0;
};

// Files only, in no particular order; raises vur::EVurError when `root` or a folder below it cannot be
// read, or a name is not CP1252 text.
std::vector<FolderFile> FilesBelow(const std::string& root);

} // namespace vurconf
