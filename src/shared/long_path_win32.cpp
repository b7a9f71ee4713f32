// ExpandLongPath on GetFullPathNameA and FindFirstFileA.
#include "shared/long_path.h"

#include <windows.h>

#include <vector>

namespace vur {

namespace {

class Win32DirectoryLookup : public DirectoryLookup {
public:
    bool MakeAbsolute(const std::string& path, std::string& absolute) const override {
        if (path.empty()) return false;
        std::vector<char> buffer(MAX_PATH + 1);
        char* filePart = nullptr;
        DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
        if (n >= buffer.size()) {
            buffer.resize(n + 1);
            n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
        }
        if (n == 0 || n >= buffer.size()) return false;
        absolute.assign(buffer.data(), n);
        return true;
    }

    bool FindFirstName(const std::string& pattern, std::string& longName) const override {
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return false;
        longName = data.cFileName;
        FindClose(search);
        return true;
    }
};

} // namespace

std::string ExpandLongPath(const std::string& path) {
    static const Win32DirectoryLookup lookup;
    return ExpandLongPath(path, lookup);
}

} // namespace vur
