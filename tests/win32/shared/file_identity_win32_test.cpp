// FileCRC32 share modes and ExpandLongPath against the real Windows file system (8.3 names included).
#include "shared/crc.h"
#include "shared/long_path.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string Lower(std::string s) {
    CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

} // namespace

TEST(FileCrc32Win32, ReadsFilesOthersHoldOpenForReadingAndWriting) {
    ScratchFolder dir;
    const std::string path = dir.Write("abc.bin", "abc");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(path)), "352441C2");
    CloseHandle(writer);

    // A file locked against reading cannot be checked: the answer is FFFFFFFF, no error.
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(vur::FileCRC32(path), 0xFFFFFFFFu);
    CloseHandle(exclusive);

    // The checksum's own handle is closed again: the file can be deleted right away.
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(path)), "352441C2");
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(FileCrc32Win32, ReadsTheRunningProgramFile) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_NE(vur::FileCRC32(self), 0xFFFFFFFFu);
    EXPECT_EQ(vur::FileCRC32(self), vur::FileCRC32(self));
}

TEST(FileCrc32Win32, EmptyAndMissingFiles) {
    ScratchFolder dir;
    EXPECT_EQ(vur::FileCRC32(dir.Write("leer.txt", "")), 0xFFFFFFFFu);
    EXPECT_EQ(vur::FileCRC32(dir.Path() + "fehlt.txt"), 0xFFFFFFFFu);
}

TEST(ExpandLongPathWin32, ShortNamesExpandToTheLongOnDiskNames) {
    ScratchFolder dir;
    ASSERT_TRUE(CreateDirectoryA((dir.Path() + "Langer Ordnername").c_str(), nullptr));
    const std::string longFile = dir.Write("Langer Ordnername\\Wählprogramm Datei.exe", "MZ");
    const std::string shortFile = ShortPath(longFile);
    ASSERT_FALSE(shortFile.empty());
    ASSERT_NE(Lower(shortFile), Lower(longFile)) << "Wine should make 8.3 names for long ones";

    const std::string expanded = vur::ExpandLongPath(shortFile);
    EXPECT_EQ(expanded, vur::ExpandLongPath(longFile));
    EXPECT_NE(expanded.find("\\Langer Ordnername\\Wählprogramm Datei.exe"), std::string::npos) << expanded;
}

TEST(ExpandLongPathWin32, MixedCaseGivesTheSameKeyAfterLowerCasing) {
    ScratchFolder dir;
    ASSERT_TRUE(CreateDirectoryA((dir.Path() + "Dialer Pro").c_str(), nullptr));
    const std::string file = dir.Write("Dialer Pro\\Einwahl.EXE", "MZ");
    std::string mixed = file;
    for (std::size_t i = 0; i < mixed.size(); ++i)
        if (mixed[i] >= 'a' && mixed[i] <= 'z' && i % 2) mixed[i] = static_cast<char>(mixed[i] - 32);
        else if (mixed[i] >= 'A' && mixed[i] <= 'Z' && i % 3) mixed[i] = static_cast<char>(mixed[i] + 32);
    const std::string expanded = vur::ExpandLongPath(mixed);
    EXPECT_NE(expanded.find("\\Dialer Pro\\Einwahl.EXE"), std::string::npos) << expanded;
    EXPECT_EQ(Lower(expanded), Lower(vur::ExpandLongPath(ShortPath(file))));
}

TEST(ExpandLongPathWin32, MissingThirdComponentKeepsTheRestAsTyped) {
    ScratchFolder dir;
    ASSERT_TRUE(CreateDirectoryA((dir.Path() + "Erster Teil").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((dir.Path() + "Erster Teil\\Zweiter Teil").c_str(), nullptr));
    const std::string shortSecond = ShortPath(dir.Path() + "Erster Teil\\Zweiter Teil");
    ASSERT_FALSE(shortSecond.empty());
    const std::string typed = shortSecond + "\\GIBTS~1\\nicht da.exe";
    const std::string expanded = vur::ExpandLongPath(typed);
    const std::string tail = "\\Erster Teil\\Zweiter Teil\\GIBTS~1\\nicht da.exe";
    ASSERT_GE(expanded.size(), tail.size());
    EXPECT_EQ(expanded.substr(expanded.size() - tail.size()), tail);
}

TEST(ExpandLongPathWin32, RelativePathsAreTakenAgainstTheCurrentFolder) {
    ScratchFolder dir;
    ASSERT_TRUE(CreateDirectoryA((dir.Path() + "Relativer Ordner").c_str(), nullptr));
    const std::string shortFolder = ShortPath(dir.Path() + "Relativer Ordner");
    const std::string shortName = shortFolder.substr(shortFolder.rfind('\\') + 1);
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    const std::string expanded = vur::ExpandLongPath(shortName);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(Lower(expanded), Lower(vur::ExpandLongPath(dir.Path() + "Relativer Ordner"))) << shortName;
    EXPECT_NE(expanded.find("\\Relativer Ordner"), std::string::npos) << expanded;
}
