// Listing a folder on Linux: names in UTF-8, converted to CP1252.
#include "folder_files.h"

#include <filesystem>
#include <system_error>

#include "console_text.h"
#include "shared/errors.h"

namespace vurconf {

namespace fs = std::filesystem;

std::vector<FolderFile> FilesBelow(const std::string& root) {
    std::error_code error;
    if (!fs::is_directory(root, error)) throw vur::EVurError("not a folder: " + root);
    std::vector<FolderFile> files;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        FolderFile file;
        if (!ArgumentToCp1252(fs::relative(it->path(), root).generic_string(), file.relative))
            throw vur::EVurError("file name is not CP1252 text: " + it->path().string());
        for (char& c : file.relative)
            if (c == '/') c = '\\';
        file.path = it->path().string();
        file.size = it->file_size(error);
        if (error) break;
        files.push_back(std::move(file));
    }
    if (error) throw vur::EVurError("cannot read the folder " + root + ": " + error.message());
    return files;
}

} // namespace vurconf
