// The scan run's Windows file system and the report file, on a scratch folder under Wine.
#include "../shared/scratch_folder.h"
#include "scanner/report_file_win32.h"
#include "scanner/scan_file_system_win32.h"
#include "shared/errors.h"
#include "shared/file_reader.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace vur::scanner;

TEST(ScanFileSystem, SearchSeesHiddenAndSystemEntriesDrivesAndTheErrorMode) {
    ScratchFolder scratch;
    const std::string hidden = scratch.Write("versteckt.exe", "x");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((scratch.Path() + "Unterordner").c_str(), nullptr);
    std::map<std::string, std::uint32_t> seen;
    auto search = SystemFileSystem().Search(scratch.Path() + "*.*");
    ASSERT_TRUE(search);
    DirectoryEntry entry;
    while (search->Next(entry)) seen[entry.name] = entry.attributes;
    EXPECT_EQ(seen.size(), 4u) << "., .., the hidden file and the folder";
    EXPECT_TRUE(seen["versteckt.exe"] & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(seen["Unterordner"] & kAttributeDirectory);
    EXPECT_FALSE(SystemFileSystem().Search(scratch.Path() + "fehlt\\*.*")) << "a folder that cannot be listed";

    EXPECT_NE(SystemFileSystem().LogicalDriveStrings(255).find(std::string("C:\\") + '\0'), std::string::npos);
    EXPECT_TRUE(SystemFileSystem().DirectoryExists("C:\\"));
    EXPECT_FALSE(SystemFileSystem().DirectoryExists(hidden));
    const unsigned before = SetErrorMode(0);
    const unsigned old = SystemFileSystem().SilenceCriticalErrors();
    EXPECT_EQ(old, 0u);
    EXPECT_EQ(SetErrorMode(0) & SEM_FAILCRITICALERRORS, static_cast<unsigned>(SEM_FAILCRITICALERRORS));
    SystemFileSystem().RestoreErrorMode(before);
}

// The short names the walk falls back on, and the device names the shared reader never opens.
TEST(ScanFileSystem, ShortNamesBothWaysAndNoDeviceOpened) {
    ScratchFolder scratch;
    const std::string file = scratch.Write("ein langer Dateiname.exe", "x");
    auto search = SystemFileSystem().Search(scratch.Path() + "*.exe");
    ASSERT_TRUE(search);
    DirectoryEntry entry;
    ASSERT_TRUE(search->Next(entry));
    EXPECT_EQ(entry.name, "ein langer Dateiname.exe");
    ASSERT_FALSE(entry.shortName.empty());
    EXPECT_EQ(entry.shortName.find(' '), std::string::npos) << entry.shortName;
    const std::string shortForm = SystemFileSystem().ShortPath(file);
    EXPECT_EQ(shortForm.substr(shortForm.rfind('\\') + 1), entry.shortName);
    EXPECT_EQ(SystemFileSystem().LongPath(shortForm), SystemFileSystem().LongPath(file));
    EXPECT_TRUE(SystemFileSystem().ShortPath(scratch.Path() + "fehlt.exe").empty());

    vur::SharedFileReader reader;
    EXPECT_FALSE(reader.Open(scratch.Path() + "nul .dat"));
    EXPECT_EQ(reader.Error(), static_cast<std::uint32_t>(ERROR_BAD_DEVICE));
    EXPECT_FALSE(reader.Open(scratch.Path() + "COM1.exe"));
    EXPECT_TRUE(reader.Open(file));
}

TEST(ReportFile, ReplacesAnExistingFileAndFailsWithoutLeavingOne) {
    ScratchFolder scratch;
    scratch.Write("bericht.rtf", "alter, längerer Inhalt");
    WriteReportFile(scratch.Path() + "bericht.rtf", "{\\rtf1 neu}");
    EXPECT_EQ(scratch.Read("bericht.rtf"), "{\\rtf1 neu}");
    const std::string missing = scratch.Path() + "fehlt\\bericht.rtf";
    EXPECT_THROW(WriteReportFile(missing, "{\\rtf1}"), vur::EVurError);
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
