// FindFirstFileA returns every entry whatever its attributes, hidden and system ones included, with its short
// name, through which a name the ANSI code page cannot hold is still reached.
#include "scanner/scan_file_system_win32.h"

#include <windows.h>

#include "shared/handles_win32.h"
#include "shared/long_path.h"

namespace vur::scanner {

namespace {

class Win32Search : public DirectorySearch {
public:
    Win32Search(HANDLE handle, const WIN32_FIND_DATAA& first) : search_(handle), data_(first) {}
    bool Next(DirectoryEntry& entry) override {
        if (!pending_ && !FindNextFileA(search_.Get(), &data_)) return false;
        pending_ = false;
        entry.name = data_.cFileName;
        entry.shortName = data_.cAlternateFileName;
        entry.attributes = data_.dwFileAttributes;
        return true;
    }

private:
    ScopedSearch search_;
    WIN32_FIND_DATAA data_;
    bool pending_ = true; // the entry FindFirstFileA gave has not been handed out yet
};

class Win32FileSystem : public ScanFileSystem {
public:
    std::unique_ptr<DirectorySearch> Search(const std::string& pattern) override {
        WIN32_FIND_DATAA data;
        HANDLE handle = FindFirstFileA(pattern.c_str(), &data);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32Search>(handle, data);
    }

    std::string LogicalDriveStrings(unsigned capacity) override {
        std::string buffer(capacity + 1, '\0');
        const DWORD length = GetLogicalDriveStringsA(capacity, &buffer[0]);
        if (length == 0 || length > capacity) return std::string();
        buffer.resize(length);
        return buffer;
    }

    bool DirectoryExists(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::string ShortPath(const std::string& path) override {
        char buffer[MAX_PATH];
        const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
        if (length == 0 || length >= sizeof buffer) return std::string();
        return std::string(buffer, length);
    }

    std::string LongPath(const std::string& path) override { return ExpandLongPath(path); }

    unsigned SilenceCriticalErrors() override { return SetErrorMode(SEM_FAILCRITICALERRORS); }
    void RestoreErrorMode(unsigned mode) override { SetErrorMode(mode); }
};

} // namespace

ScanFileSystem& SystemFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}

} // namespace vur::scanner
