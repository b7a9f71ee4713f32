// A scratch folder for the win32 tests: a long name with an umlaut below the temp folder, removed with
// everything in it at the end.
#pragma once

#include <windows.h>

#include <string>

namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "VUR Prüfordner " + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }

    const std::string& Path() const { return path_; }

    std::string Write(const std::string& relative, const std::string& bytes) const {
        const std::string full = path_ + relative;
        HANDLE h = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return full;
    }

    std::string Read(const std::string& relative) const {
        std::string bytes;
        HANDLE h = CreateFileA((path_ + relative).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<missing>";
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(h);
        return bytes;
    }

private:
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &data);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(folder + name + "\\");
                else
                    DeleteFileA((folder + name).c_str());
            } while (FindNextFileA(search, &data));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};

} // namespace
