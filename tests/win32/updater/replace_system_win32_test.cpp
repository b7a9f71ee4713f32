// Replacing a file on the running Windows: a free file in one step, a file held open scheduled on the NT
// family (the pending move is taken back at once, so the prefix's next start does nothing with it).
#include "shared/winfuncs.h"
#include "updater/replace_system_win32.h"

#include <gtest/gtest.h>

#include "../shared/scratch_folder.h"

namespace {

std::string Content(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    char buffer[64] = {};
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(h);
    return std::string(buffer, got);
}

} // namespace

TEST(WindowsReplace, AFreeFileNowAFileInUseAtRestart) {
    ScratchFolder folder;
    vur::updater::WindowsReplaceSystem system;
    const std::string target = folder.Write("watch.dll", "alt");
    const std::string temporary = folder.Write("watch.dllupdate.tmp", "neu");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(vur::updater::ReplaceInstalledFile(system, temporary, target), vur::updater::Replaced::Now);
    EXPECT_EQ(Content(target), "neu");
    EXPECT_EQ(GetFileAttributesA(temporary.c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string shortUpper = system.ShortUpperPath(target);
    EXPECT_EQ(shortUpper.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << shortUpper;
    EXPECT_EQ(GetFileAttributesA(shortUpper.c_str()) != INVALID_FILE_ATTRIBUTES, true) << "names the same file";

    if (!vur::IsWindowsNT()) return; // the 9x schedule goes to WININIT.INI, covered natively
    folder.Write("watch.dllupdate.tmp", "neuer");
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(vur::updater::ReplaceInstalledFile(system, temporary, target), vur::updater::Replaced::AtRestart);
    CloseHandle(held);
    EXPECT_EQ(Content(target), "neu") << "the installed file stays until the restart";
    MoveFileExA(temporary.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
