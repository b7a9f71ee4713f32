// Replacing and scheduling files on Windows.
#include "updater/replace_system_win32.h"

#include "shared/text_case.h"

#include <windows.h>

#include <vector>

#include "shared/file_reader.h"
#include "shared/handles_win32.h"
#include "shared/winfuncs.h"

namespace vur::updater {

namespace {

std::string WininitPath() {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string(); // no Windows folder: nothing is scheduled
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    return path + "WININIT.INI";
}

} // namespace

bool WindowsReplaceSystem::IsNT() { return IsWindowsNT(); }

bool WindowsReplaceSystem::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> WindowsReplaceSystem::FindFiles(const std::string& prefix, const std::string& suffix) {
    std::vector<std::string> found;
    const std::size_t slash = prefix.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string() : prefix.substr(0, slash + 1);
    const std::string head = LowerCp1252(prefix.substr(folder.size())), tail = LowerCp1252(suffix);
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((prefix + "*" + suffix).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        // The pattern also matches short names; only the long name counts.
        const std::string name = LowerCp1252(data.cFileName);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name.size() >= head.size() + tail.size() &&
            name.compare(0, head.size(), head) == 0 && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
            found.push_back(folder + data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

void WindowsReplaceSystem::MakeArchiveOnly(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
}

bool WindowsReplaceSystem::Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool WindowsReplaceSystem::Move(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool WindowsReplaceSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool WindowsReplaceSystem::MoveAtRestart(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

std::string WindowsReplaceSystem::ShortUpperPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    std::string result = length > 0 && length < MAX_PATH ? std::string(shortPath, length) : path;
    if (!result.empty()) CharUpperBuffA(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

bool WindowsReplaceSystem::ReadWininit(std::string& bytes, bool& exists) {
    bytes.clear();
    const std::string path = WininitPath();
    exists = !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!exists) return false;
    return ReadWholeFile(path, bytes);
}

// Written in place: the file is small, and removing it first would lose the entries already scheduled.
bool WindowsReplaceSystem::WriteWininit(const std::string& bytes) {
    const std::string path = WininitPath();
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

} // namespace vur::updater
