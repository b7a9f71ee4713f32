// TSECURITYINI: what lands in the file, the raw-equals-Default rule, the two value layers, bad tokens,
// other pass phrases, and the construction every program shares.
#include "shared/errors.h"
#include "shared/ini_document.h"
#include "shared/program_settings.h"
#include "shared/sealing.h"
#include "shared/securityunit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

using Names = std::vector<std::string>;
const char kOwner[] = "Max Mustermann";
const char kProduct[] = "12345-oem-0000001-54321";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

} // namespace

TEST(SecurityIni, StoresOneSectionLineAndOneEntryLineOfTokensOnly) {
    vurtest::TempDir dir;
    vur::TSECURITYINI ini(dir.File("vur.conf"), kOwner, kProduct);
    ini.WriteString("Generell", "AutoStart", "abc");
    EXPECT_EQ(ini.ReadString("Generell", "AutoStart", ""), "abc");
    const auto lines = Lines(dir.Read("vur.conf"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[" + vur::SealString(kOwner, "Generell") + "]");
    // Key with the name phrase; value inner layer name phrase, outer layer value phrase.
    EXPECT_EQ(lines[1], vur::SealString(kOwner, "AutoStart") + "=" +
                            vur::SealString(kProduct, vur::SealString(kOwner, "abc")));
    for (const auto& line : lines)
        for (const char* word : {"Generell", "AutoStart", "abc"}) EXPECT_EQ(line.find(word), std::string::npos);
    // A value of n bytes takes 4*ceil(4*ceil(n/3)/3) characters.
    ini.WriteString("Generell", "AutoStart", "abcdefg");
    EXPECT_EQ(Lines(dir.Read("vur.conf"))[1].size(), vur::SealString(kOwner, "AutoStart").size() + 1 + 16);
}

TEST(SecurityIni, MissingKeysGiveTheDefaultAndEmptyValuesStayEmpty) {
    vurtest::TempDir dir;
    vur::TSECURITYINI ini(dir.File("vur.conf"), kOwner, kProduct);
    EXPECT_EQ(ini.ReadString("Generell", "Neue Nummer", "7"), "7");
    EXPECT_EQ(ini.ReadInteger("Generell", "Neue Nummer", 1), 1);
    EXPECT_FALSE(ini.SectionExists("Generell"));
    ini.WriteString("Generell", "Leer", "");
    EXPECT_EQ(Lines(dir.Read("vur.conf"))[1], vur::SealString(kOwner, "Leer") + "=");
    EXPECT_EQ(ini.ReadString("Generell", "Leer", ""), "");
    EXPECT_EQ(ini.ReadString("Generell", "Fehlt", "x"), "x");
    ini.WriteInteger("Generell", "Neue Nummer", 3);
    ini.WriteBool("Scanner", "Löschen", true);
    EXPECT_EQ(ini.ReadInteger("Generell", "Neue Nummer", 1), 3);
    EXPECT_FALSE(ini.ReadBool("Scanner", "löschen", false)) << "sealed names are not matched by case";
    EXPECT_TRUE(ini.ReadBool("Scanner", "Löschen", false));
}

TEST(SecurityIni, ARawValueEqualToTheDefaultIsReturnedWithoutUnsealing) {
    vurtest::TempDir dir;
    const std::string path = dir.File("vur.conf");
    vur::TSECURITYINI ini(path, kOwner, kProduct);
    vur::TIniFile plain(path);
    // "xyz" is no well-formed token; read with it as the default it comes back as it is.
    plain.WriteString(vur::SealString(kOwner, "S"), vur::SealString(kOwner, "K"), "xyz");
    EXPECT_EQ(ini.ReadString("S", "K", "xyz"), "xyz");
    EXPECT_THROW(ini.ReadString("S", "K", ""), vur::EBase64Error);
    try {
        ini.ReadInteger("S", "K", 0);
        ADD_FAILURE() << "a hand-edited token must raise";
    } catch (const vur::EBase64Error& e) {
        EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
    }
}

TEST(SecurityIni, SectionListsComeBackPlainInFileOrder) {
    vurtest::TempDir dir;
    vur::TSECURITYINI ini(dir.File("vur.conf"), kOwner, kProduct);
    for (const char* number : {"49 190 3", "49 190 1", "43 900 2"}) ini.WriteString("Verbindungen", number, "n");
    ini.WriteString("Anwendungen", "c:\\programme\\a.exe", "a");
    ini.WriteString("Generell", "AutoStart", "0");
    Names names;
    ini.ReadSection("Verbindungen", names);
    EXPECT_EQ(names, (Names{"49 190 3", "49 190 1", "43 900 2"}));
    ini.ReadSections(names);
    EXPECT_EQ(names, (Names{"Verbindungen", "Anwendungen", "Generell"}));
    ini.DeleteKey("Verbindungen", "49 190 1");
    ini.ReadSection("Verbindungen", names);
    EXPECT_EQ(names, (Names{"49 190 3", "43 900 2"}));
    ini.EraseSection("Verbindungen");
    EXPECT_FALSE(ini.SectionExists("Verbindungen"));
    ini.ReadSection("Verbindungen", names);
    EXPECT_TRUE(names.empty());
    ini.ReadSections(names);
    EXPECT_EQ(names, (Names{"Anwendungen", "Generell"}));
}

TEST(SecurityIni, MalformedNamesRaiseTheBase64Message) {
    vurtest::TempDir dir;
    vur::TSECURITYINI ini(dir.File("vur.conf"), kOwner, kProduct);
    dir.Write("vur.conf", "[" + vur::SealString(kOwner, "Verbindungen") + "]\r\nABCDE=x\r\n[ABC]\r\n");
    Names names;
    EXPECT_THROW(ini.ReadSection("Verbindungen", names), vur::EBase64Error);
    EXPECT_THROW(ini.ReadSections(names), vur::EBase64Error);
}

TEST(SecurityIni, AFileFromAnotherInstallationReadsAsDefaults) {
    vurtest::TempDir dir;
    const std::string path = dir.File("vur.conf");
    vur::TSECURITYINI there(path, "Anderer Besitzer", "55555-oem-0000001-00000");
    there.WriteInteger("Generell", "Neue Nummer", 3);
    there.WriteString("Verbindungen", "49 190 1", "x|49 190 1");
    vur::TSECURITYINI here(path, kOwner, kProduct);
    EXPECT_EQ(here.ReadInteger("Generell", "Neue Nummer", 1), 1);
    Names names;
    here.ReadSections(names);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].size(), std::string("Generell").size());
    EXPECT_NE(names[0], "Generell");
    // Same owner, other product id: names are found, but the value unseals to other bytes.
    vur::TSECURITYINI sameOwner(path, "Anderer Besitzer", kProduct);
    EXPECT_NE(sameOwner.ReadString("Verbindungen", "49 190 1", ""), "x|49 190 1");
}

TEST(SecurityIni, EmptyOwnerAndProductIdZeroStillGiveAWorkingFile) {
    vurtest::TempDir dir;
    auto config = vur::OpenProgramSettings(dir.Path() + "/", {"", "0"});
    EXPECT_EQ(config->FileName(), dir.Path() + "/vur.conf");
    config->WriteString("Generell", "AutoStart", "1");
    EXPECT_EQ(Lines(dir.Read("vur.conf"))[0], "[" + vur::SealString("", "Generell") + "]");
    // A second program on the same installation finds the same section line and value.
    auto watch = vur::OpenProgramSettings(dir.Path() + "/", {"", "0"});
    EXPECT_EQ(watch->ReadInteger("Generell", "AutoStart", 0), 1);
}

TEST(SecurityIni, ConstructionDoesNotTouchTheFile) {
    vurtest::TempDir dir;
    { vur::TSECURITYINI ini(dir.File("vur.conf"), kOwner, kProduct); }
    auto ini = vur::OpenProgramSettings(dir.Path() + "/");
    EXPECT_EQ(ini->ReadString("Generell", "AutoStart", "d"), "d");
    EXPECT_FALSE(std::ifstream(dir.File("vur.conf")).good());
    // This installation's phrases stay the same from call to call.
    EXPECT_EQ(vur::InstallationPassPhrases().valueKey, vur::InstallationPassPhrases().valueKey);
    EXPECT_FALSE(vur::InstallationPassPhrases().valueKey.empty());
}

TEST(SecurityIni, NamesWhoseTokensDifferOnlyInLetterCaseStayApart) {
    vurtest::TempDir dir;
    vur::TSECURITYINI ini(dir.File("vur.conf"), kOwner, kProduct);
    // Find two numbers whose key tokens a case-blind look-up would take for one another.
    std::string first, second;
    std::map<std::string, std::string> seen;
    for (int i = 0; i < 100000 && second.empty(); ++i) {
        const std::string number = "49 190 " + std::to_string(i);
        const auto [it, added] = seen.emplace(vur::FoldedName(vur::SealString(kOwner, number)), number);
        if (!added) {
            first = it->second;
            second = number;
        }
    }
    ASSERT_FALSE(second.empty());
    ini.WriteString("Verbindungen", first, "erlaubt");
    EXPECT_EQ(ini.ReadString("Verbindungen", second, ""), "") << "a number must not be allowed through another";
    ini.WriteString("Verbindungen", second, "auch");
    EXPECT_EQ(ini.ReadString("Verbindungen", first, ""), "erlaubt");
    Names names;
    ini.ReadSection("Verbindungen", names);
    EXPECT_EQ(names, (Names{first, second}));
}
