// Listing a folder on Windows with the ANSI find functions; names are in the ANSI code page already.
#include "folder_files.h"

#include <windows.h>

#include "shared/errors.h"

namespace vurconf {

namespace {

void Collect(const std::string& folder, const std::string& prefix, std::vector<FolderFile>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) throw vur::EVurError("cannot read the folder " + folder);
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                Collect(folder + name + "\\", prefix + name + "\\", files);
            continue;
        }
        files.push_back({prefix + name, folder + name,
                         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

std::vector<FolderFile> FilesBelow(const std::string& root) {
    std::string folder = root;
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw vur::EVurError("not a folder: " + root);
    std::vector<FolderFile> files;
    Collect(folder, "", files);
    return files;
}

} // namespace vurconf
