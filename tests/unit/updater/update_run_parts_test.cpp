// The update run's portable parts: the list read entry by entry, hostile file names, replacing installed
// files on both families, and the WININIT.INI "[rename]" section.
#include "updater/file_replace.h"
#include "updater/update_list.h"
#include "updater/update_names.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vur::updater;
using Lines = std::vector<std::string>;

TEST(UpdateList, EntriesOfFiveLinesWithEitherLineEnd) {
    UpdateListReader list("Monitor\r\nwatch.dll\r\n1024\r\n-1\r\nhttp://h/watch.dll\r\n"
                          "Signaturen\nsignaturen\\a.dat\n7\n891568578\nhttp://h/a.dat\n"
                          "Rest");
    UpdateEntry entry;
    ASSERT_TRUE(list.Next(entry));
    EXPECT_EQ((std::vector<std::string>{entry.name, entry.file, entry.url}),
              (std::vector<std::string>{"Monitor", "watch.dll", "http://h/watch.dll"}));
    EXPECT_EQ(entry.size, 1024);
    EXPECT_TRUE(ChecksumMatches(0xFFFFFFFFu, entry.checksum)) << "-1 is the checksum of a missing file";
    ASSERT_TRUE(list.Next(entry));
    EXPECT_EQ(entry.file, "signaturen\\a.dat");
    EXPECT_TRUE(ChecksumMatches(0x352441C2u, entry.checksum));
    EXPECT_FALSE(ChecksumMatches(0x352441C3u, entry.checksum));
    EXPECT_FALSE(list.Next(entry)) << "an entry of only its first line ends the list";

    UpdateListReader empty("");
    EXPECT_FALSE(empty.Next(entry));
}

TEST(UpdateList, ANumberLineThatIsNoNumberRaisesTheFrameworksMessage) {
    UpdateEntry entry;
    const std::pair<const char*, const char*> cases[] = {
        {"A\r\na.dll\r\n12x\r\n1\r\nu\r\n", "'12x' is not a valid integer value"},
        {"A\r\na.dll\r\n12\r\n4294967295\r\nu\r\n", "'4294967295' is not a valid integer value"},
        {"A\r\na.dll\r\n", "'' is not a valid integer value"}, // cut short after the file name
    };
    for (const auto& [text, message] : cases) {
        UpdateListReader list(text);
        try {
            list.Next(entry);
            ADD_FAILURE() << text;
        } catch (const EUpdateListError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
}

TEST(UpdateNames, OnlyPlainNamesBelowTheProgramFolderAreTaken) {
    for (const char* good : {"watch.dll", "signaturen\\dialer.dat", "hilfe/index.htm", "quarantäne\\x.txt",
                             "com10.dll", "console.exe", "a.b.c"})
        EXPECT_EQ(RefusalReason(good), "") << good;
    for (const char* bad : {"", "\\windows\\win.ini", "/etc/passwd", "C:\\autoexec.bat", "c:win.ini",
                            "\\\\server\\share\\x.dll", "..\\fast.exe", "hilfe\\..\\..\\x", ".\\x", "watch.dll:bad",
                            "CON", "nul.txt", "Com1", "lpt9.dat", "hilfe\\aux\\x", "x.", "x ", "a\\\\b", "a\\",
                            "a*b", "a?b", "a\"b", "a|b", "a<b", "tab\there"})
        EXPECT_NE(RefusalReason(bad), "") << bad;
    EXPECT_EQ(LocalPath("C:\\VUR\\", "hilfe/index.htm"), "C:\\VUR\\hilfe\\index.htm");
    EXPECT_EQ(TemporaryPath("C:\\VUR\\watch.dll"), "C:\\VUR\\watch.dllupdate.tmp");
}

TEST(WininitRename, TheEntryGoesToTheEndOfTheRenameSection) {
    const std::string e = "C:\\VUR\\WATCH.DLL=C:\\VUR\\WATCHD~1.TMP";
    EXPECT_EQ(WithRenameEntry({}, e), (Lines{"[rename]", e}));
    EXPECT_EQ(WithRenameEntry({"[other]", "a=b"}, e), (Lines{"[other]", "a=b", "[rename]", e}));
    EXPECT_EQ(WithRenameEntry({"[other]", "[Rename]"}, e), (Lines{"[other]", "[Rename]", e}));
    EXPECT_EQ(WithRenameEntry({"[rename]", "[next]"}, e), (Lines{"[rename]", e, "[next]"}));
    EXPECT_EQ(WithRenameEntry({"[rename]", "X=Y", "", "  ", "[next]", "k=v"}, e),
              (Lines{"[rename]", "X=Y", e, "", "  ", "[next]", "k=v"}));
    EXPECT_EQ(WithRenameEntry({"[rename]", "", "[next]"}, e), (Lines{"[rename]", e, "", "[next]"}));
    EXPECT_EQ(WithRenameEntry({"[rename]", "X=Y", ""}, e), (Lines{"[rename]", "X=Y", "", e}))
        << "no section follows: the entry goes at the end";
    EXPECT_EQ(WithRenameEntry({"[rename]", "NUL=X", "; a [note] here"}, e),
              (Lines{"[rename]", "NUL=X", e, "; a [note] here"}))
        << "a line with both brackets counts as the next section";
}

namespace {

// A file system of names and contents; files in `inUse` cannot be moved or replaced.
class FakeSystem : public ReplaceSystem {
public:
    bool nt = false;
    std::map<std::string, std::string> files;
    std::set<std::string> inUse;
    bool wininitExists = false, wininitReadable = true, wininitWritable = true;
    std::string wininit;
    std::vector<std::pair<std::string, std::string>> atRestart;
    bool restartMovesAllowed = true;

    bool IsNT() override { return nt; }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    void MakeArchiveOnly(const std::string&) override {}
    bool Delete(const std::string& path) override {
        if (inUse.count(path)) return false;
        return files.erase(path) != 0;
    }
    bool Move(const std::string& from, const std::string& to) override {
        if (!files.count(from) || files.count(to) || inUse.count(from) || inUse.count(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool MoveReplacing(const std::string& from, const std::string& to) override {
        if (!files.count(from) || inUse.count(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool MoveAtRestart(const std::string& from, const std::string& to) override {
        if (restartMovesAllowed) atRestart.emplace_back(from, to);
        return restartMovesAllowed;
    }
    std::string ShortUpperPath(const std::string& path) override {
        std::string upper = path;
        for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return upper;
    }
    bool ReadWininit(std::string& bytes, bool& exists) override {
        exists = wininitExists;
        bytes = wininit;
        return wininitExists && wininitReadable;
    }
    bool WriteWininit(const std::string& bytes) override {
        if (!wininitWritable) return false;
        wininit = bytes;
        wininitExists = true;
        return true;
    }
};

const std::string kTarget = "c:\\vur\\watch.dll", kTemp = "c:\\vur\\watch.dllupdate.tmp";

} // namespace

TEST(ReplaceInstalledFile, TheInstalledFileGoesOnlyWhenTheNewOneIsInPlace) {
    FakeSystem nt;
    nt.nt = true;
    nt.files = {{kTarget, "alt"}, {kTemp, "neu"}};
    EXPECT_EQ(ReplaceInstalledFile(nt, kTemp, kTarget), Replaced::Now);
    EXPECT_EQ(nt.files, (std::map<std::string, std::string>{{kTarget, "neu"}}));

    nt.files = {{kTarget, "alt"}, {kTemp, "neu"}};
    nt.inUse = {kTarget};
    EXPECT_EQ(ReplaceInstalledFile(nt, kTemp, kTarget), Replaced::AtRestart);
    EXPECT_EQ(nt.files.at(kTarget), "alt");
    EXPECT_EQ(nt.atRestart, (std::vector<std::pair<std::string, std::string>>{{kTemp, kTarget}}));
    nt.restartMovesAllowed = false; // e.g. a user without the right to schedule
    EXPECT_EQ(ReplaceInstalledFile(nt, kTemp, kTarget), Replaced::NotScheduled);

    // 9x: a missing file is moved in; an existing one is moved aside first and removed after.
    FakeSystem w9x;
    w9x.files = {{kTemp, "neu"}};
    EXPECT_EQ(ReplaceInstalledFile(w9x, kTemp, kTarget), Replaced::Now);
    w9x.files = {{kTarget, "alt"}, {kTemp, "neu"}, {kTarget + "update.old", "ganz alt"}};
    EXPECT_EQ(ReplaceInstalledFile(w9x, kTemp, kTarget), Replaced::Now);
    EXPECT_EQ(w9x.files, (std::map<std::string, std::string>{{kTarget, "neu"}}));

    // In use: nothing moves, the schedule goes to WININIT.INI.
    w9x.files = {{kTarget, "alt"}, {kTemp, "neu"}};
    w9x.inUse = {kTarget};
    EXPECT_EQ(ReplaceInstalledFile(w9x, kTemp, kTarget), Replaced::AtRestart);
    EXPECT_EQ(w9x.files.at(kTarget), "alt");
    EXPECT_EQ(w9x.wininit, "[rename]\r\nC:\\VUR\\WATCH.DLL=C:\\VUR\\WATCH.DLLUPDATE.TMP\r\n")
        << "a new WININIT.INI holds exactly two lines";

    // The new file cannot move in: the old one goes back to its place.
    w9x.inUse = {kTemp};
    w9x.wininit.clear();
    w9x.wininitExists = false;
    EXPECT_EQ(ReplaceInstalledFile(w9x, kTemp, kTarget), Replaced::AtRestart);
    EXPECT_EQ(w9x.files.at(kTarget), "alt");
    EXPECT_EQ(w9x.files.count(kTarget + "update.old"), 0u);
}

TEST(ScheduleReplace, AnExistingWininitIsEditedAndAnUnreadableOneLeftAlone) {
    FakeSystem w9x;
    w9x.wininitExists = true;
    w9x.wininit = "[rename]\nNUL=C:\\OLD.TMP\n\n[other]\nk=v\n";
    EXPECT_TRUE(ScheduleReplace(w9x, "c:\\a.tmp", "c:\\a.dll"));
    EXPECT_EQ(w9x.wininit, "[rename]\r\nNUL=C:\\OLD.TMP\r\nC:\\A.DLL=C:\\A.TMP\r\n\r\n[other]\r\nk=v\r\n");
    w9x.wininitReadable = false;
    EXPECT_FALSE(ScheduleReplace(w9x, "c:\\b.tmp", "c:\\b.dll"));
    EXPECT_EQ(w9x.wininit.find("B.DLL"), std::string::npos);
    w9x.wininitReadable = true;
    w9x.wininitWritable = false;
    EXPECT_FALSE(ScheduleReplace(w9x, "c:\\b.tmp", "c:\\b.dll"));
}
