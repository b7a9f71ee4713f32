// IsolateFile on the real file system: the pair of files, attributes, no overwriting, missing folder.
#include "scratch_folder.h"
#include "shared/errors.h"
#include "shared/quarantine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Entries(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

struct QuarantineScratch {
    ScratchFolder dir;
    std::string quarantine;
    QuarantineScratch() {
        CreateDirectoryA((dir.Path() + "Programm").c_str(), nullptr);
        CreateDirectoryA((dir.Path() + "Programm\\quarantäne").c_str(), nullptr);
        CreateDirectoryA((dir.Path() + "Temp").c_str(), nullptr);
        quarantine = dir.Path() + "Programm\\quarantäne\\";
    }
    bool Isolate(const std::string& path, const std::string& reason) {
        const std::string folder = dir.Path() + "Programm\\";
        return vur::IsolateFileChecked(path, reason, [&] { return folder; }, vur::SystemQuarantine());
    }
};

} // namespace

TEST(QuarantineWin32, MovesTheFileBesideADescriptionOfThreeLines) {
    QuarantineScratch q;
    const std::string file = q.dir.Write("Temp\\x.exe", "MZ dialer bytes");
    ASSERT_TRUE(q.Isolate(file, "0190 Dialer"));
    const auto descriptions = Entries(q.quarantine, "*.dat");
    ASSERT_EQ(descriptions.size(), 1u);
    EXPECT_EQ(q.dir.Read("Programm\\quarantäne\\" + descriptions[0]),
              "x.exe\r\n" + q.dir.Path() + "Temp\\\r\n0190 Dialer\r\n");
    EXPECT_EQ(q.dir.Read("Programm\\quarantäne\\" + descriptions[0] + ".file"), "MZ dialer bytes");
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(QuarantineWin32, ReadOnlyAndHiddenFilesAreStoredWithoutAttributes) {
    QuarantineScratch q;
    const std::string file = q.dir.Write("Temp\\versteckt.exe", "MZ");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(q.Isolate(file, "Verdächtig: Testmuster"));
    const auto data = Entries(q.quarantine, "*.file");
    ASSERT_EQ(data.size(), 1u);
    const DWORD attributes = GetFileAttributesA((q.quarantine + data[0]).c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
}

TEST(QuarantineWin32, AnExistingDescriptionFileIsNeverOverwritten) {
    QuarantineScratch q;
    const std::string taken = q.dir.Write("Programm\\quarantäne\\123.dat", "fremder Eintrag");
    EXPECT_FALSE(vur::SystemQuarantine().CreateNewTextFile(taken, "neu"));
    EXPECT_EQ(q.dir.Read("Programm\\quarantäne\\123.dat"), "fremder Eintrag");
    ASSERT_TRUE(q.Isolate(q.dir.Write("Temp\\y.exe", "MZ"), "0190 Dialer"));
    EXPECT_EQ(q.dir.Read("Programm\\quarantäne\\123.dat"), "fremder Eintrag");
    EXPECT_EQ(Entries(q.quarantine, "*.dat").size(), 2u);
}

TEST(QuarantineWin32, MissingQuarantineFolderRaisesAndLeavesTheFile) {
    QuarantineScratch q;
    RemoveDirectoryA(q.quarantine.c_str());
    const std::string file = q.dir.Write("Temp\\z.exe", "MZ");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(q.Isolate(file, "0190 Dialer"), vur::EVurError);
    EXPECT_EQ(q.dir.Read("Temp\\z.exe"), "MZ");
    EXPECT_NE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(QuarantineWin32, FailedMoveLeavesNoDescriptionBehind) {
    QuarantineScratch q;
    const std::string file = q.dir.Write("Temp\\gesperrt.exe", "MZ");
    // Held open without sharing: the move cannot take it.
    HANDLE locked = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(q.Isolate(file, "0190 Dialer"));
    CloseHandle(locked);
    EXPECT_TRUE(Entries(q.quarantine, "*").size() <= 2u); // only "." and ".."
    EXPECT_TRUE(Entries(q.quarantine, "*.dat").empty());
    EXPECT_EQ(q.dir.Read("Temp\\gesperrt.exe"), "MZ");
}
