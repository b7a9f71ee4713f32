// Whole-file writes on WriteFile.
#include "shared/file_writer_win32.h"

#include "shared/errors.h"

namespace vur {

void WriteAllOrDelete(ScopedFile& file, const std::string& path, const std::string& content, const std::string& what) {
    DWORD written = 0;
    if (WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size())
        return;
    const DWORD error = GetLastError();
    file.Reset();
    DeleteFileA(path.c_str());
    throw EVurError(what + " " + path + " (error " + std::to_string(error) + ")");
}

} // namespace vur
