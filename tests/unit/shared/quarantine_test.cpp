// The quarantine store's naming, description file and move over a scripted file system.
#include "shared/errors.h"
#include "shared/quarantine.h"
#include "shared/text_case.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

class FakeQuarantine : public vur::QuarantineSystem {
public:
    std::set<std::string> existing;
    std::map<std::string, std::string> created;
    std::vector<std::string> log;
    bool moveWorks = true, folderMissing = false;
    unsigned waited = 0;
    int takenAtCreation = 0; // names that appear between the test and the creation

    void Wait(unsigned ms) override { waited += ms; }
    std::uint32_t ClockSeed() override { return 1234; }
    bool FileExists(const std::string& path) override { return existing.count(path) > 0; }
    bool CreateNewTextFile(const std::string& path, const std::string& content) override {
        if (folderMissing) throw vur::EVurError("Quarantine: cannot create " + path + " (error 3)");
        if (takenAtCreation > 0) {
            --takenAtCreation;
            existing.insert(path);
            return false;
        }
        created[path] = content;
        log.push_back("create " + path);
        return true;
    }
    void ClearAttributes(const std::string& path) override { log.push_back("attributes " + path); }
    bool Move(const std::string& from, const std::string& to) override {
        log.push_back("move " + from + " " + to);
        return moveWorks;
    }
    void Remove(const std::string& path) override {
        log.push_back("remove " + path);
        created.erase(path);
    }
};

std::string Stem(const std::string& description) {
    const std::string prefix = "C:\\VUR\\quarantäne\\";
    EXPECT_EQ(description.compare(0, prefix.size(), prefix), 0) << description;
    return description.substr(prefix.size(), description.size() - prefix.size() - 4);
}

} // namespace

TEST(Quarantine, DescriptionOfThreeLinesThenAttributesThenMove) {
    FakeQuarantine fs;
    EXPECT_TRUE(vur::IsolateFileChecked("C:\\Temp\\x.exe", "0190 Dialer", [] { return std::string("C:\\VUR\\"); }, fs));
    EXPECT_EQ(fs.waited, 1000u);
    ASSERT_EQ(fs.created.size(), 1u);
    const std::string description = fs.created.begin()->first;
    EXPECT_EQ(fs.created.begin()->second, "x.exe\r\nC:\\Temp\\\r\n0190 Dialer\r\n");
    const std::string stem = Stem(description);
    EXPECT_FALSE(stem.empty());
    EXPECT_EQ(stem.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_TRUE(stem == "0" || stem[0] != '0');
    EXPECT_LT(std::stoull(stem), 999999999ull);
    EXPECT_EQ(fs.log, (std::vector<std::string>{"create " + description, "attributes C:\\Temp\\x.exe",
                                                "move C:\\Temp\\x.exe " + description + ".file"}));
}

TEST(Quarantine, TakenNamesAreDrawnAgainAndNeverOverwritten) {
    FakeQuarantine first;
    vur::IsolateFile("C:\\a.exe", "r", "C:\\VUR\\", first);
    const std::string usual = first.created.begin()->first;

    FakeQuarantine taken;
    taken.existing.insert(usual); // the first draw is taken before the test
    taken.takenAtCreation = 1;    // the second appears between the test and the creation
    vur::IsolateFile("C:\\a.exe", "r", "C:\\VUR\\", taken);
    ASSERT_EQ(taken.created.size(), 1u);
    EXPECT_NE(taken.created.begin()->first, usual);
    EXPECT_EQ(taken.existing.count(taken.created.begin()->first), 0u);
}

TEST(Quarantine, FailedMoveLeavesNoDescriptionWithoutItsDataFile) {
    FakeQuarantine fs;
    fs.moveWorks = false;
    EXPECT_FALSE(vur::IsolateFileChecked("C:\\Temp\\x.exe", "Verdächtig: Muster", [] { return std::string("C:\\VUR\\"); }, fs));
    EXPECT_TRUE(fs.created.empty());
    EXPECT_EQ(fs.log.back().compare(0, 7, "remove "), 0);
}

// Across volumes MoveFileA copies and reports success although the source could not be deleted.
TEST(Quarantine, MoveThatLeavesTheSourceIsAFailureAndLeavesNothingTwice) {
    FakeQuarantine fs;
    fs.existing.insert("D:\\cd\\dialer.exe");
    EXPECT_FALSE(vur::IsolateFileChecked("D:\\cd\\dialer.exe", "0190 Dialer", [] { return std::string("C:\\VUR\\"); }, fs));
    ASSERT_EQ(fs.log.size(), 6u);
    const std::string description = fs.log[0].substr(7);
    EXPECT_EQ(fs.log, (std::vector<std::string>{"create " + description, "attributes D:\\cd\\dialer.exe",
                                                "move D:\\cd\\dialer.exe " + description + ".file",
                                                "attributes " + description + ".file", "remove " + description + ".file",
                                                "remove " + description}));
    EXPECT_TRUE(fs.created.empty());
}

TEST(Quarantine, MissingFolderRaisesAndTouchesNothing) {
    FakeQuarantine fs;
    fs.folderMissing = true;
    EXPECT_THROW(vur::IsolateFile("C:\\Temp\\x.exe", "0190 Dialer", "C:\\VUR\\", fs), vur::EVurError);
    EXPECT_TRUE(fs.log.empty());
}

TEST(Quarantine, ProgramFolderIsAskedOnEveryNamingPass) {
    FakeQuarantine fs;
    int asked = 0;
    fs.takenAtCreation = 2;
    vur::IsolateFileChecked("C:\\x.exe", "r", [&] { ++asked; return std::string("C:\\VUR\\"); }, fs);
    EXPECT_EQ(asked, 3);
}

TEST(TextCase, LowerCp1252FoldsAsciiAndAccentedCapitals) {
    EXPECT_EQ(vur::LowerCp1252("C:\\PROGRAMME\\WÄHLER ÖÜ.EXE"), "c:\\programme\\wähler öü.exe");
    EXPECT_EQ(vur::LowerCp1252("ÀÞ×ŠŒŽŸß"), "àþ×šœžÿß");
    EXPECT_EQ(vur::LowerCp1252("schon klein 123 äöü"), "schon klein 123 äöü");
}
