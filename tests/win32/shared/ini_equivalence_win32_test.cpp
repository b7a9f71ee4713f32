// Our INI layer against the platform's private-profile functions: the same operations on twin files must
// read the same, and each side must read what the other wrote.
#include "scratch_folder.h"
#include "shared/disk_ini_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// The platform side, through the A functions; a NULL key or section lists names.
struct Profile {
    std::string path;
    std::string Read(const std::string& section, const std::string& key, const std::string& dflt) const {
        std::vector<char> buffer(65536);
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), dflt.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), path.c_str());
        return std::string(buffer.data(), n);
    }
    Names List(const char* section) const {
        std::vector<char> buffer(65536);
        const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 path.c_str());
        Names names;
        for (DWORD i = 0; i < n;) {
            const std::string name(buffer.data() + i);
            names.push_back(name);
            i += static_cast<DWORD>(name.size()) + 1;
        }
        return names;
    }
    Names Sections() const { return List(nullptr); }
    Names Keys(const std::string& section) const { return List(section.c_str()); }
    void Write(const char* section, const char* key, const char* value) const {
        WritePrivateProfileStringA(section, key, value, path.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // flush the platform's cache
    }
};

struct Twins {
    ScratchFolder dir;
    Profile platform{dir.Path() + "platform.ini"};
    vur::TIniFile ours{dir.Path() + "ours.ini"};

    void Write(const char* section, const char* key, const char* value) {
        platform.Write(section, key, value);
        if (!key)
            ours.EraseSection(section);
        else if (!value)
            ours.DeleteKey(section, key);
        else
            ours.WriteString(section, key, value);
    }
    // Both files read through both layers give the same for this key.
    void ExpectSame(const std::string& section, const std::string& key, const std::string& dflt = "<dflt>") {
        Profile oursByPlatform{ours.FileName()};
        vur::TIniFile platformByOurs(platform.path);
        const std::string expected = platform.Read(section, key, dflt);
        EXPECT_EQ(ours.ReadString(section, key, dflt), expected) << section << "/" << key;
        EXPECT_EQ(oursByPlatform.Read(section, key, dflt), expected) << section << "/" << key;
        EXPECT_EQ(platformByOurs.ReadString(section, key, dflt), expected) << section << "/" << key;
    }
    void ExpectSameLists(const std::vector<std::string>& sections) {
        Names ourList;
        ours.ReadSections(ourList);
        EXPECT_EQ(ourList, platform.Sections());
        for (const auto& section : sections) {
            ours.ReadSection(section, ourList);
            EXPECT_EQ(ourList, platform.Keys(section)) << section;
        }
    }
};

} // namespace

TEST(IniEquivalenceWin32, WritesReadsAndListsAgree) {
    Twins t;
    t.Write("Generell", "Neue Nummer", "1");
    t.Write("Generell", "AutoStart", "0");
    t.Write("Verbindungen", "49 190 1", "Büro|49 190 1");
    t.Write("GENERELL", "neue nummer", "2"); // the first key of the name, in any case
    t.Write("Scanner", "Löschen", "1");
    t.Write("  Scanner ", "  Heuristik ", "  0  ");
    t.Write("Generell", "Leer", "");
    for (const char* key : {"Neue Nummer", "NEUE NUMMER", "AutoStart", "Leer", "Fehlt"}) t.ExpectSame("Generell", key);
    t.ExpectSame("generell", "autostart");
    t.ExpectSame("Verbindungen", "49 190 1");
    t.ExpectSame("Scanner", "Heuristik");
    t.ExpectSame("Scanner", "Löschen");
    t.ExpectSame("Fehlt", "Fehlt", "");
    t.ExpectSameLists({"Generell", "Verbindungen", "Scanner", "SCANNER", "Fehlt"});
    EXPECT_EQ(t.ours.ReadString("Generell", "Neue Nummer", ""), "2");
    // Byte for byte the same file, line order and line ends included.
    EXPECT_EQ(t.dir.Read("ours.ini"), t.dir.Read("platform.ini"));
}

TEST(IniEquivalenceWin32, DeletingKeysAndErasingSectionsAgree) {
    Twins t;
    for (const char* key : {"a", "b", "c"}) {
        t.Write("Eins", key, "1");
        t.Write("Zwei", key, "2");
        t.Write("Drei", key, "3");
    }
    t.Write("Eins", "B", nullptr);
    t.Write("zwei", nullptr, nullptr);
    t.Write("Eins", "d", "4");
    t.Write("Zwei", "neu", "5"); // a section erased and made again goes to the end
    t.Write("Fehlt", "x", nullptr);
    t.Write("Fehlt", nullptr, nullptr);
    t.ExpectSameLists({"Eins", "Zwei", "Drei"});
    for (const char* key : {"a", "b", "d"}) t.ExpectSame("Eins", key);
    t.ExpectSame("Zwei", "a");
    t.ExpectSame("Zwei", "neu");
    EXPECT_EQ(t.dir.Read("ours.ini"), t.dir.Read("platform.ini"));
}

TEST(IniEquivalenceWin32, HandMadeFilesReadTheSame) {
    ScratchFolder dir;
    const std::string text =
        "; Kommentar\r\n"
        "[Liste]\r\n"
        "  Schlüssel  =  Wert mit Leerzeichen  \r\n"
        "doppelt=erster\r\n"
        "DOPPELT=zweiter\r\n"
        "zitat=\"in Anführung\"\r\n"
        "halb=\"offen\r\n"
        "ohne Gleichheitszeichen\r\n"
        "\r\n"
        "[ Zweite ]\n"
        "k=v\n"
        "ÄRGER=groß\n";
    const std::string path = dir.Write("hand.ini", text);
    Profile platform{path};
    vur::TIniFile ours(path);
    for (const char* key : {"schlüssel", "Doppelt", "zitat", "halb", "ohne Gleichheitszeichen", "fehlt"})
        EXPECT_EQ(ours.ReadString("liste", key, "<dflt>"), platform.Read("liste", key, "<dflt>")) << key;
    EXPECT_EQ(ours.ReadString("zweite", "K", "<dflt>"), platform.Read("zweite", "K", "<dflt>"));
    EXPECT_EQ(ours.ReadString("Zweite", "ÄRGER", "<dflt>"), platform.Read("Zweite", "ÄRGER", "<dflt>"));
    // Windows folds the case of CP1252 letters such as "Ä" as we do; Wine folds only A to Z, so "ärger" is
    // left out here (the suite's names are sealed and compared exactly anyway).
    Names names;
    ours.ReadSections(names);
    EXPECT_EQ(names, platform.Sections());
    ours.ReadSection("Liste", names);
    EXPECT_EQ(names, platform.Keys("Liste"));
}

TEST(IniEquivalenceWin32, AListBeyondTheOld64KiBLimitWorks) {
    ScratchFolder dir;
    vur::TIniFile ours(dir.Path() + "gross.ini");
    {
        vur::IniUpdate save(ours);
        for (int i = 0; i < 10000; ++i)
            ours.WriteString("Anwendungen", "c:\\programme\\anwendung " + std::to_string(i) + ".exe", std::to_string(i));
        save.Commit();
    }
    vur::TIniFile again(ours.FileName());
    Names keys;
    again.ReadSection("Anwendungen", keys);
    ASSERT_EQ(keys.size(), 10000u);
    EXPECT_EQ(keys.back(), "c:\\programme\\anwendung 9999.exe");
    EXPECT_EQ(again.ReadString("Anwendungen", "C:\\PROGRAMME\\ANWENDUNG 9999.EXE", ""), "9999");
}

TEST(IniEquivalenceWin32, WritingIntoHandMadeFilesAgrees) {
    Twins t;
    const std::string text = "; Kopf\r\n[A]\r\nx=1\r\n\r\n; zu B\r\n[B]\r\n  y = 2 \r\n\r\n";
    t.dir.Write("platform.ini", text);
    t.dir.Write("ours.ini", text);
    t.Write("A", "z", "3");
    t.Write("B", "y", "4");
    t.Write("C", "w", "5");
    t.Write("A", "x", nullptr);
    t.ExpectSameLists({"A", "B", "C"});
    t.ExpectSame("B", "y");
    EXPECT_EQ(t.dir.Read("ours.ini"), t.dir.Read("platform.ini"));
}
