// The quarantine manager's file system calls on Windows.
#include "vault/quarantine_files_win32.h"

#include <windows.h>

#include "shared/handles_win32.h"

namespace vur::vault {

namespace {

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class Win32QuarantineFiles : public QuarantineFiles {
public:
    bool ListFiles(const std::string& folder, std::vector<FolderFile>& files) override {
        files.clear();
        WIN32_FIND_DATAA found{};
        // An empty folder still has "." and ".."; no match at all means no folder (or no access).
        ScopedSearch search(FindFirstFileA((folder + "*").c_str(), &found));
        if (!search) return Failed();
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            FolderFile file;
            file.name = found.cFileName;
            file.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            file.writeTime = Ticks(found.ftLastWriteTime);
            files.push_back(file);
        } while (FindNextFileA(search.Get(), &found));
        return true;
    }

    bool ReadSmallFile(const std::string& path, std::string& content) override {
        ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return Failed();
        char buffer[16 * 1024];
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return Failed();
        content.assign(buffer, read);
        return true;
    }

    bool Exists(const std::string& path) override { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    bool FolderExists(const std::string& folder) override {
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    // Every folder on the way, from the first one below the drive or share.
    bool CreateFolders(const std::string& folder) override {
        std::size_t from = folder.compare(0, 2, "\\\\") == 0 ? folder.find('\\', folder.find('\\', 2) + 1) : 2;
        for (std::size_t slash = folder.find('\\', from + 1); slash != std::string::npos;
             slash = folder.find('\\', slash + 1)) {
            const std::string part = folder.substr(0, slash);
            if (!FolderExists(part + "\\") && !CreateDirectoryA(part.c_str(), nullptr)) return Failed();
        }
        return FolderExists(folder) || Failed();
    }

    bool Move(const std::string& from, const std::string& to) override {
        return MoveFileA(from.c_str(), to.c_str()) || Failed();
    }

    bool Remove(const std::string& path) override {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileA(path.c_str()) || Failed();
    }

    std::string LastError() override {
        char* text = nullptr;
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                                FORMAT_MESSAGE_IGNORE_INSERTS,
                                            nullptr, error_, 0, reinterpret_cast<char*>(&text), 0, nullptr);
        std::string message = length ? std::string(text, length) : "Fehler " + std::to_string(error_);
        if (text) LocalFree(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                    message.back() == ' '))
            message.pop_back();
        return message;
    }

    LocalTime ToLocalTime(std::uint64_t fileTime) override {
        FILETIME universal{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)}, local{};
        SYSTEMTIME time{};
        if (!FileTimeToLocalFileTime(&universal, &local) || !FileTimeToSystemTime(&local, &time)) return {};
        return LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute};
    }

private:
    bool Failed() {
        error_ = GetLastError();
        return false;
    }

    DWORD error_ = 0;
};

} // namespace

QuarantineFiles& SystemQuarantineFiles() {
    static Win32QuarantineFiles files;
    return files;
}

} // namespace vur::vault
