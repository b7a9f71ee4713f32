// The quarantine manager over a fake folder: pairing and orphans, the row texts, sorting, restoring and
// deleting with every question answered either way and every file system call able to fail.
#include "vault/quarantine_actions.h"
#include "vault/quarantine_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <set>

using namespace vur::vault;

namespace {

const std::string Q = "C:\\VUR\\quarantäne\\";

// Files by full path with content and write time, and the folders that exist.
class FakeFiles : public QuarantineFiles {
public:
    std::map<std::string, std::pair<std::string, std::uint64_t>> files;
    std::set<std::string> folders{Q, "C:\\Temp\\"};
    std::set<std::string> unreadable, locked; // reads and moves or removals of these fail
    bool createFails = false;

    void Put(const std::string& path, const std::string& content, std::uint64_t time = 0) {
        files[path] = {content, time};
    }
    bool Has(const std::string& path) const { return files.count(path) != 0; }

    bool ListFiles(const std::string& folder, std::vector<FolderFile>& out) override {
        if (!folders.count(folder)) return false;
        for (const auto& [path, file] : files)
            if (path.compare(0, folder.size(), folder) == 0 && path.find('\\', folder.size()) == std::string::npos)
                out.push_back(FolderFile{path.substr(folder.size()), file.first.size(), file.second});
        return true;
    }
    bool ReadSmallFile(const std::string& path, std::string& content) override {
        if (!Has(path) || unreadable.count(path)) return false;
        content = files[path].first;
        return true;
    }
    bool Exists(const std::string& path) override { return Has(path) || folders.count(path + "\\"); }
    bool FolderExists(const std::string& folder) override { return folders.count(folder) != 0; }
    bool CreateFolders(const std::string& folder) override {
        if (createFails) return false;
        folders.insert(folder);
        return true;
    }
    bool Move(const std::string& from, const std::string& to) override {
        const std::string folder = to.substr(0, to.rfind('\\') + 1);
        if (!Has(from) || Has(to) || locked.count(from) || !folders.count(folder)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Remove(const std::string& path) override {
        if (!Has(path) || locked.count(path)) return false;
        files.erase(path);
        return true;
    }
    std::string LastError() override { return "Zugriff verweigert"; }
    LocalTime ToLocalTime(std::uint64_t t) override {
        return LocalTime{2026, 12, static_cast<int>(t % 28) + 1, 9, 5};
    }
};

// Answers questions in order (Yes when none is scripted) and records what was asked and told.
class ScriptedDialogs : public UserDialogs {
public:
    std::deque<bool> answers;
    std::vector<std::string> questions, reports;
    bool Confirm(const std::string& question) override {
        questions.push_back(question);
        if (answers.empty()) return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void Report(const std::string& failure) override { reports.push_back(failure); }
};

std::string Description(const std::string& name, const std::string& folder, const std::string& reason) {
    return name + "\r\n" + folder + "\r\n" + reason + "\r\n";
}

const QuarantineEntry& ByKey(const QuarantineListing& listing, const std::string& key) {
    for (const QuarantineEntry& entry : listing.entries)
        if (entry.Key() == key) return entry;
    throw std::runtime_error("no entry " + key);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(QuarantineListing, PairsOrphansAndUnreadableDescriptionsWithTheirRowsAndTotal) {
    FakeFiles fs;
    fs.Put(Q + "11.dat", Description("wähler.exe", "C:\\Programme\\Größe\\", "0190 Dialer"), 40);
    fs.Put(Q + "11.dat.file", std::string(2048, 'x'), 3);
    fs.Put(Q + "22.DAT", "a.exe\nC:\\Temp\\\nVerdächtig: Wählfunktion\n", 41); // LF ends, upper case
    fs.Put(Q + "22.dat.file", "abc", 4);
    fs.Put(Q + "33.dat", Description("gone.exe", "C:\\Temp\\", "0190 Dialer"), 42); // data missing
    fs.Put(Q + "44.dat.file", "orphan", 43);                                       // description missing
    for (const char* bad : {"..\r\nC:\\Temp\\\r\nx\r\n", "nul.exe\r\nC:\\Temp\\\r\nx\r\n",
                            "a\\b.exe\r\nC:\\Temp\\\r\nx\r\n", "x.exe\r\nTemp\\\r\nx\r\n",
                            "x.exe\r\nC:\\a\\..\\Windows\\\r\nx\r\n", "x.exe\r\n"})
        fs.Put(Q + "5" + std::to_string(fs.files.size()) + ".dat", bad, 44);
    fs.Put(Q + "60.dat", Description("x.exe", "\\\\server\\share\\", "0190 Dialer"), 45);
    const std::string deep = "C:\\" + std::string(120, 'a') + "\\" + std::string(110, 'b') + "\\";
    fs.Put(Q + "61.dat", Description("lang.exe", deep, "0190 Dialer"), 45);
    fs.Put(Q + "70.dat", "unreadable", 46);
    fs.unreadable.insert(Q + "70.dat");
    fs.Put(Q + "desktop.ini", "[x]", 47);           // belongs to no pair
    fs.Put("C:\\VUR\\vur.conf", "elsewhere", 48); // another folder

    QuarantineListing listing = ListQuarantine(Q, fs);
    ASSERT_TRUE(listing.folderFound);
    ASSERT_EQ(listing.entries.size(), 13u);
    EXPECT_EQ(listing.entries.front().Key(), "70.dat") << "newest first";

    const QuarantineEntry& complete = ByKey(listing, "11.dat");
    EXPECT_EQ(complete.kind, EntryKind::Complete);
    EXPECT_EQ(complete.dataName, "11.dat.file");
    EXPECT_EQ(complete.isolated, 40u) << "the description's time: a move keeps the file's own";
    EXPECT_EQ(RowTexts(complete, fs), (std::vector<std::string>{"wähler.exe", "C:\\Programme\\Größe\\",
                                                                  "0190 Dialer", "13.12.2026 09:05", "2,0 KB"}));
    EXPECT_TRUE(complete.CanRestore());
    EXPECT_EQ(ByKey(listing, "22.DAT").kind, EntryKind::Complete);
    EXPECT_EQ(ByKey(listing, "22.DAT").reason, "Verdächtig: Wählfunktion");
    EXPECT_EQ(ByKey(listing, "60.dat").kind, EntryKind::DataMissing) << "a UNC folder is a full folder";
    EXPECT_EQ(ByKey(listing, "61.dat").folder, deep) << "a folder near the longest path";
    EXPECT_EQ(RowTexts(ByKey(listing, "33.dat"), fs)[4], "Datei fehlt");
    const QuarantineEntry& orphan = ByKey(listing, "44.dat.file");
    EXPECT_EQ(orphan.kind, EntryKind::DescriptionMissing);
    EXPECT_EQ(RowTexts(orphan, fs), (std::vector<std::string>{"44.dat.file", "unbekannt", "Beschreibung fehlt",
                                                                "16.12.2026 09:05", "6 Bytes"}));
    int unreadable = 0;
    for (const QuarantineEntry& entry : listing.entries)
        if (entry.kind == EntryKind::DescriptionUnreadable) {
            ++unreadable;
            EXPECT_FALSE(entry.CanRestore());
            EXPECT_EQ(RowTexts(entry, fs)[2], "Beschreibung unlesbar");
        }
    EXPECT_EQ(unreadable, 7);
    EXPECT_EQ(TotalText(listing), "13 Dateien in Quarantäne, zusammen 2,0 KB");

    fs.files.clear();
    fs.Put(Q + "1.dat.file", std::string(3 * 1024 * 1024 + 300 * 1024, 'x'));
    EXPECT_EQ(TotalText(ListQuarantine(Q, fs)), "1 Datei in Quarantäne, zusammen 3,3 MB");
    fs.files.clear();
    EXPECT_EQ(TotalText(ListQuarantine(Q, fs)), "Die Quarantäne ist leer.");
    fs.folders.clear();
    listing = ListQuarantine(Q, fs);
    EXPECT_FALSE(listing.folderFound);
    EXPECT_TRUE(Contains(TotalText(listing), "Quarantäne-Ordner fehlt"));
    EXPECT_EQ(SizeText(1), "1 Byte");
}

TEST(QuarantineListing, SizesRoundToTheNearestTenthAndDatesHaveFixedDigits) {
    EXPECT_EQ(SizeText(1023), "1023 Bytes");
    EXPECT_EQ(SizeText(1024), "1,0 KB");
    EXPECT_EQ(SizeText(1280), "1,2 KB"); // 1.25: a tie goes to the even tenth
    EXPECT_EQ(SizeText(1792), "1,8 KB"); // 1.75
    EXPECT_EQ(SizeText(1024 * 1024 - 1), "1024,0 KB");
    EXPECT_EQ(SizeText(1024 * 1024), "1,0 MB");
    EXPECT_EQ(SizeText(std::uint64_t{5} << 40), "5242880,0 MB");
    // The C runtime's "%.1f" of the same quotient, with its point made a comma, over a sweep of sizes.
    for (std::uint64_t bytes = 1024; bytes < 40000000; bytes = bytes * 3 / 2 + 77) {
        const double value = bytes >= 1024 * 1024 ? bytes / 1048576.0 : bytes / 1024.0;
        char text[40];
        std::snprintf(text, sizeof text, "%.1f %s", value, bytes >= 1024 * 1024 ? "MB" : "KB");
        std::string expected = text;
        std::replace(expected.begin(), expected.end(), '.', ',');
        EXPECT_EQ(SizeText(bytes), expected) << bytes;
    }
    LocalTime time;
    time.year = 2004;
    time.month = 3;
    time.day = 7;
    time.hour = 9;
    time.minute = 5;
    EXPECT_EQ(DateText(time), "07.03.2004 09:05");
    time = {987, 12, 31, 23, 59};
    EXPECT_EQ(DateText(time), "31.12.0987 23:59");
}

TEST(QuarantineListing, SortsByEachColumnBothWaysWithAFixedOrderForTies) {
    FakeFiles fs;
    fs.Put(Q + "1.dat", Description("b.exe", "C:\\B\\", "Verdächtig: x"), 30);
    fs.Put(Q + "1.dat.file", "1234", 0);
    fs.Put(Q + "2.dat", Description("Ä.exe", "C:\\A\\", "0190 Dialer"), 10);
    fs.Put(Q + "2.dat.file", "12", 0);
    fs.Put(Q + "3.dat", Description("a.exe", "C:\\C\\", "0190 Dialer"), 20);
    fs.Put(Q + "3.dat.file", "123456", 0);
    std::vector<QuarantineEntry> entries = ListQuarantine(Q, fs).entries;
    auto keys = [&] {
        std::string order;
        for (const QuarantineEntry& e : entries) order += e.Key()[0];
        return order;
    };
    EXPECT_EQ(keys(), "132");
    SortEntries(entries, Column::File, true);
    EXPECT_EQ(keys(), "312") << "case-blind, CP1252 capitals after z";
    SortEntries(entries, Column::Folder, false);
    EXPECT_EQ(keys(), "312");
    SortEntries(entries, Column::Reason, true);
    EXPECT_EQ(keys(), "231") << "equal reasons by key";
    SortEntries(entries, Column::Reason, false);
    EXPECT_EQ(keys(), "123") << "ties keep their order in both directions";
    SortEntries(entries, Column::Size, true);
    EXPECT_EQ(keys(), "213");
    SortEntries(entries, Column::Isolated, true);
    EXPECT_EQ(keys(), "231");
}

TEST(QuarantineActions, RestoreAsksMovesBackAndRemovesTheDescriptionOnlyAfterwards) {
    FakeFiles fs;
    fs.Put(Q + "7.dat", Description("d.exe", "C:\\Temp\\", "0190 Dialer"));
    fs.Put(Q + "7.dat.file", "dialer");
    ScriptedDialogs no;
    no.answers = {false};
    QuarantineEntry entry = ListQuarantine(Q, fs).entries.at(0);
    EXPECT_EQ(RestoreEntry(entry, Q, fs, no), ActionResult::Cancelled);
    EXPECT_TRUE(Contains(no.questions.at(0), "„d.exe“") && Contains(no.questions[0], "0190 Dialer"));
    EXPECT_TRUE(fs.Has(Q + "7.dat.file") && fs.Has(Q + "7.dat"));

    // The move fails: the file stays in quarantine with its description, and the message names it.
    fs.locked.insert(Q + "7.dat.file");
    ScriptedDialogs yes;
    EXPECT_EQ(RestoreEntry(entry, Q, fs, yes), ActionResult::Failed);
    ASSERT_EQ(yes.reports.size(), 1u);
    EXPECT_TRUE(Contains(yes.reports[0], "C:\\Temp\\d.exe") && Contains(yes.reports[0], "Zugriff verweigert"));
    EXPECT_TRUE(fs.Has(Q + "7.dat.file") && fs.Has(Q + "7.dat"));
    fs.locked.clear();

    EXPECT_EQ(RestoreEntry(entry, Q, fs, yes), ActionResult::Done);
    EXPECT_EQ(fs.files["C:\\Temp\\d.exe"].first, "dialer");
    EXPECT_FALSE(fs.Has(Q + "7.dat.file") || fs.Has(Q + "7.dat"));
    EXPECT_TRUE(ListQuarantine(Q, fs).entries.empty());

    // A description that cannot be removed afterwards is told; the file is back all the same.
    fs.Put(Q + "8.dat", Description("e.exe", "C:\\Temp\\", "x"));
    fs.Put(Q + "8.dat.file", "e");
    fs.locked.insert(Q + "8.dat");
    ScriptedDialogs told;
    EXPECT_EQ(RestoreEntry(ByKey(ListQuarantine(Q, fs), "8.dat"), Q, fs, told), ActionResult::Failed);
    EXPECT_TRUE(fs.Has("C:\\Temp\\e.exe"));
    ASSERT_EQ(told.reports.size(), 1u);
    EXPECT_TRUE(Contains(told.reports[0], "wiederhergestellt") && Contains(told.reports[0], "8.dat"));
    EXPECT_EQ(ByKey(ListQuarantine(Q, fs), "8.dat").kind, EntryKind::DataMissing);

    // Orphans cannot be restored.
    ScriptedDialogs silent;
    EXPECT_EQ(RestoreEntry(ByKey(ListQuarantine(Q, fs), "8.dat"), Q, fs, silent), ActionResult::Cancelled);
    EXPECT_TRUE(silent.questions.empty());
}

TEST(QuarantineActions, RestoreNeverOverwritesAndCreatesAMissingFolderOnlyWhenAllowed) {
    FakeFiles fs;
    fs.Put(Q + "1.dat", Description("setup.exe", "C:\\Temp\\", "0190 Dialer"));
    fs.Put(Q + "1.dat.file", "quarantined");
    fs.Put("C:\\Temp\\setup.exe", "newer");
    fs.Put("C:\\Temp\\setup (2).exe", "other");
    const QuarantineEntry entry = ListQuarantine(Q, fs).entries.at(0);
    EXPECT_EQ(FreeName("C:\\Temp\\", "setup.exe", fs), "setup (3).exe");
    EXPECT_EQ(FreeName("C:\\Temp\\", "README", fs), "README (2)");
    EXPECT_EQ(FreeName("C:\\Temp\\", ".profile", fs), ".profile (2)");

    ScriptedDialogs declined;
    declined.answers = {true, false};
    EXPECT_EQ(RestoreEntry(entry, Q, fs, declined), ActionResult::Cancelled);
    ASSERT_EQ(declined.questions.size(), 2u);
    EXPECT_TRUE(Contains(declined.questions[1], "„setup (3).exe“"));
    EXPECT_EQ(fs.files["C:\\Temp\\setup.exe"].first, "newer");

    ScriptedDialogs accepted;
    EXPECT_EQ(RestoreEntry(entry, Q, fs, accepted), ActionResult::Done);
    EXPECT_EQ(fs.files["C:\\Temp\\setup (3).exe"].first, "quarantined");
    EXPECT_EQ(fs.files["C:\\Temp\\setup.exe"].first, "newer");

    // A folder that is gone: No keeps everything; a failed creation is told; Yes creates and restores.
    fs.Put(Q + "2.dat", Description("x.exe", "C:\\Weg\\Tief\\", "0190 Dialer"));
    fs.Put(Q + "2.dat.file", "x");
    const QuarantineEntry away = ByKey(ListQuarantine(Q, fs), "2.dat");
    ScriptedDialogs keep;
    keep.answers = {true, false};
    EXPECT_EQ(RestoreEntry(away, Q, fs, keep), ActionResult::Cancelled);
    EXPECT_TRUE(Contains(keep.questions.at(1), "„C:\\Weg\\Tief\\“"));
    EXPECT_FALSE(fs.FolderExists("C:\\Weg\\Tief\\"));
    fs.createFails = true;
    ScriptedDialogs failed;
    EXPECT_EQ(RestoreEntry(away, Q, fs, failed), ActionResult::Failed);
    EXPECT_EQ(failed.reports.size(), 1u);
    EXPECT_TRUE(fs.Has(Q + "2.dat.file"));
    fs.createFails = false;
    ScriptedDialogs create;
    EXPECT_EQ(RestoreEntry(away, Q, fs, create), ActionResult::Done);
    EXPECT_TRUE(fs.Has("C:\\Weg\\Tief\\x.exe"));
}

TEST(QuarantineActions, DeleteRemovesTheDataFileFirstAndFitsItsQuestionToTheEntry) {
    FakeFiles fs;
    fs.Put(Q + "1.dat", Description("d.exe", "C:\\Temp\\", "0190 Dialer"));
    fs.Put(Q + "1.dat.file", "d");
    fs.Put(Q + "2.dat", Description("gone.exe", "C:\\Temp\\", "0190 Dialer"));
    fs.Put(Q + "3.dat.file", "orphan");
    fs.Put(Q + "4.dat", "garbage");
    fs.Put(Q + "4.dat.file", "4");
    const QuarantineListing listing = ListQuarantine(Q, fs);

    ScriptedDialogs no;
    no.answers = {false};
    EXPECT_EQ(DeleteEntry(ByKey(listing, "1.dat"), Q, fs, no), ActionResult::Cancelled);
    EXPECT_TRUE(Contains(no.questions.at(0), "endgültig"));
    EXPECT_EQ(fs.files.size(), 6u);

    // The data file cannot go: the description stays, so the entry still says what it is.
    fs.locked.insert(Q + "1.dat.file");
    ScriptedDialogs yes;
    EXPECT_EQ(DeleteEntry(ByKey(listing, "1.dat"), Q, fs, yes), ActionResult::Failed);
    EXPECT_TRUE(fs.Has(Q + "1.dat") && fs.Has(Q + "1.dat.file"));
    EXPECT_TRUE(Contains(yes.reports.at(0), Q + "1.dat.file"));
    fs.locked.clear();

    for (const char* key : {"1.dat", "2.dat", "3.dat.file", "4.dat"})
        EXPECT_EQ(DeleteEntry(ByKey(listing, key), Q, fs, yes), ActionResult::Done) << key;
    EXPECT_TRUE(fs.files.empty());
    EXPECT_TRUE(Contains(yes.questions.at(2), "fehlt die isolierte Datei"));
    EXPECT_TRUE(Contains(yes.questions.at(3), "fehlt die Beschreibung"));
    EXPECT_TRUE(Contains(yes.questions.at(4), "unlesbar") && Contains(yes.questions[4], "4.dat.file"));
}
