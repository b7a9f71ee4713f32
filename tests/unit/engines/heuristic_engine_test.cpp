// The heuristic engine: which traits it sees in which form, how they weigh, and the German result texts.
#include "pe_builder.h"
#include "support/temp_dir.h"

#include "engines/heuristic_verdict.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

using vur::engines::CheckFileHeuristically;
using vur::engines::FindTraits;
using vur::engines::ParsePeImage;
using vur::engines::PeImage;
using vur::engines::Traits;

Traits TraitsOf(const std::string& file) {
    PeImage image;
    const auto* data = reinterpret_cast<const unsigned char*>(file.data());
    const bool pe = ParsePeImage(data, file.size(), image);
    return FindTraits(data, file.size(), pe ? &image : nullptr);
}

std::string Check(const vurtest::PeSpec& spec) {
    vurtest::TempDir dir;
    dir.Write("probe.exe", vurtest::BuildPe(spec));
    return CheckFileHeuristically(dir.File("probe.exe"));
}

vurtest::PeSpec Importing(const std::string& library, const std::string& function, const std::string& data) {
    vurtest::PeSpec spec;
    spec.imports = {{library, {function}}, {"KERNEL32.dll", {"Sleep", "GetProcAddress"}}};
    spec.data = data;
    return spec;
}

TEST(HeuristicTraits, FindsNumbersOnlyWhereTheyAreWholePremiumNumbers) {
    struct {
        std::string text, range;
    } cases[] = {
        {"Anruf: 0190-8123456.", "0190"},   {"\"0190 812 34 56\"", "0190"},  {"09005/123456", "0900"},
        {"019301", "0193"},                 {"11880 ", "118"},               {"+881 6 31234567", "+881"},
        {"00882161234567", "+882"},         {"+49 190 8123456", "0190"},     {"ATDT0190812345", "0190"},
        {"0190 Dialer", ""},                {"0190123", ""},                 {"1190812345", ""},
        {"30190812345", ""},                {"0190812345678901234", ""},     {"x0190812345", ""},
        {"0190812345abc", ""},              {"118801", "118"},               {"1188012", ""},
        {"+8811234", ""},                   {"030 1234567", ""},             {"++88161234567", ""},
        // A number may start after any separator of a longer run, and takes the rest of the run with it.
        {"0190-123456 0190-654321", "0190"}, {"1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7 0190 8123456", "0190"},
        {"0190 8123456 78901", ""},          {"0190-123456 0190-654321x", ""}, {"019x0812345", ""},
        {"+1 881 61234567", ""},             {"+49 0190 8123456", "0190"},   {"0190 8123456 7890", "0190"},
    };
    for (const auto& c : cases) {
        const std::string framed = "\x01" + c.text + '\0';
        const Traits ascii = TraitsOf(framed);
        EXPECT_EQ(ascii.premiumNumber, c.range) << c.text;
        EXPECT_FALSE(ascii.premiumOnlyWide) << c.text;
        const Traits wide = TraitsOf("\x01" + vurtest::Wide(c.text) + std::string(2, '\0'));
        EXPECT_EQ(wide.premiumNumber, c.range) << "UTF-16 " << c.text;
        EXPECT_EQ(wide.premiumOnlyWide, !c.range.empty()) << c.text;
        // Above at an odd offset, here at an even one.
        EXPECT_EQ(TraitsOf("\x01\x02" + vurtest::Wide(c.text)).premiumNumber, c.range) << "even " << c.text;
    }
}

TEST(HeuristicTraits, TellsImportsFromLookUpsAndIgnoresTheFilesOwnExports) {
    EXPECT_EQ(TraitsOf(vurtest::BuildPe(Importing("RASAPI32.dll", "RasDialA", ""))).dialImport, "RasDialA");
    const Traits lookedUp = TraitsOf(vurtest::BuildPe(Importing("KERNEL32.dll", "LoadLibraryA",
                                                                 "rasapi32.dll\0RasDialW\0"s)));
    EXPECT_EQ(lookedUp.dialImport, "");
    EXPECT_EQ(lookedUp.dialLookup, "RasDialW");
    // Longer names that only begin like a dialing function, and names not ending the string, do not count.
    EXPECT_EQ(TraitsOf("\0RasDialDlgA\0InternetAutodialHangup\0lineMakeCallX\0"s).dialLookup, "");
    // A system library that exports the functions does not dial.
    vurtest::PeSpec library;
    library.exportedLibrary = "rasapi32.dll";
    library.exports = {"RasDialA", "RasSetEntryPropertiesA", "RasCreatePhonebookEntryA"};
    const Traits exported = TraitsOf(vurtest::BuildPe(library));
    EXPECT_EQ(exported.dialImport + exported.dialLookup, "");

    const Traits rest = TraitsOf("\0ATDT 0301234\0atx3\r\0C:\\WINDOWS\\RASPHONE.PBK\0"s +
                                 vurtest::Wide("Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_EQ(rest.dialCommand, "ATDT");
    EXPECT_TRUE(rest.phonebook);
    EXPECT_TRUE(rest.runKey);
    for (const char* quiet : {"DATDT0190", "ATDTx", "ATX5", "ATX33", "BATX3"})
        EXPECT_EQ(TraitsOf("\0"s + quiet + '\0').dialCommand, "") << quiet;
    EXPECT_EQ(TraitsOf("\0atdp,,+49301234\0"s).dialCommand, "ATDP");
}

TEST(HeuristicTraits, CountsModemCommandsOnlyAsModemStringsAndTheRunKeyOnlyItself) {
    struct {
        std::string text, command;
    } commands[] = {
        {"\0ATDT0190812345\r"s, "ATDT"}, {"\"atdp 030-123 456\n"s, "ATDP"}, {"=ATD*99#\0"s, "ATD"},
        {" ATDT(030) 1234567;\r"s, "ATDT"}, {"\0ATDTW,0301234\0"s, "ATDT"}, {"\nATX3\r"s, "ATX"},
        {"\0ATX0\0"s, "ATX"},
        // Glued to a word or a number, without a digit or an end, or followed by more text.
        {"xATDT0301234\r"s, ""}, {"5ATDT0301234\r"s, ""}, {"\0ATDT\r"s, ""}, {"\0ATDT,,W\r"s, ""},
        {"\0ATDT0301234"s, ""}, {"\0ATDT%s\r"s, ""}, {"\0ATX3 \r"s, ""}, {"\0ATX3x\0"s, ""},
        {"\0Mit ATDT 0301234 und Enter\0"s, ""},
    };
    for (const auto& c : commands) {
        EXPECT_EQ(TraitsOf(c.text).dialCommand, c.command) << c.text;
        EXPECT_EQ(TraitsOf(vurtest::Wide(c.text)).dialCommand, c.command) << "UTF-16 " << c.text;
    }

    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\";
    struct {
        std::string text;
        bool runKey;
    } keys[] = {
        {key + "Run\0"s, true},      {key + "Run\"VUR\""s, true},     {key + "Run\\VUR"s, true},
        {"\x01" + key + "RUN"s, true}, {key + "RunOnce\0"s, false},    {key + "RunServices\0"s, false},
        {key + "RunOnceEx"s, false},  {key + "Run1\0"s, false},       {key + "Run_\0"s, false},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(TraitsOf(k.text).runKey, k.runKey) << k.text;
        EXPECT_EQ(TraitsOf(vurtest::Wide(k.text)).runKey, k.runKey) << "UTF-16 " << k.text;
    }
}

TEST(HeuristicVerdict, WeighsEachDialingNameOnceHoweverOftenTheFileRepeatsIt) {
    // As many imports as the parser takes, one of them a dialing function, and 4 MB of dialing names
    // that are not imported.
    vurtest::PeSpec spec;
    spec.imports.assign(vur::engines::kMaxImportLibraries,
                        {"KERNEL32.dll", std::vector<std::string>(vur::engines::kMaxImports /
                                                                  vur::engines::kMaxImportLibraries, "Sleep")});
    spec.imports[700].second[5] = "RasDialW";
    std::string names = "InternetDial\0"s;
    while (names.size() < (4u << 20)) names += "RasDialA\0RasDial\0"s;
    spec.data = names + "0190-8123456";
    EXPECT_EQ(Check(spec), "Wählfunktion RasDialW und Premium-Nummer 0190… gefunden");
    const Traits traits = TraitsOf(vurtest::BuildPe(spec));
    EXPECT_EQ(traits.dialImport, "RasDialW");
    EXPECT_EQ(traits.dialLookup, "InternetDial"); // the first one in the file that is not imported

    spec.imports[700].second[5] = "Sleep";
    EXPECT_EQ(Check(spec), "Wählfunktion InternetDial (zur Laufzeit gesucht) und Premium-Nummer 0190… gefunden");
}

TEST(HeuristicVerdict, WeighsTraitsAgainstTheThresholdAndSaysWhatItFound) {
    // Dialers: a dialing function with a premium number, in each form.
    EXPECT_EQ(Check(Importing("RASAPI32.dll", "RasDialA", "0190-8123456")),
              "Wählfunktion RasDialA und Premium-Nummer 0190… gefunden");
    EXPECT_EQ(Check(Importing("WININET.dll", "InternetDial", vurtest::Wide("09001234567"))),
              "Wählfunktion InternetDial und Premium-Nummer 0900… (Unicode) gefunden");
    EXPECT_EQ(Check(Importing("KERNEL32.dll", "LoadLibraryA", "CAPI_REGISTER\0+8816123456\0"s)),
              "Wählfunktion CAPI_REGISTER (zur Laufzeit gesucht) und Premium-Nummer +881… gefunden");
    // A modem dialer without any dialing library, and an installer that writes the phonebook and registers.
    EXPECT_EQ(Check(Importing("KERNEL32.dll", "CreateFileA", "ATDT0190812345\r")),
              "Premium-Nummer 0190… und Modem-Wählbefehl ATDT gefunden");
    EXPECT_EQ(Check(Importing("TAPI32.dll", "lineMakeCall",
                              "rasphone.pbk\0Software\\Microsoft\\Windows\\CurrentVersion\\Run\0"s)),
              "Wählfunktion lineMakeCall, Eintrag ins RAS-Telefonbuch und Autostart-Eintrag in der Registry "
              "gefunden");

    // Honest programs: a phonebook editor that dials ordinary numbers, a modem tool, a program that starts
    // with Windows and shows a premium number as a warning, a library that loads the dialing library.
    EXPECT_EQ(Check(Importing("RASAPI32.dll", "RasCreatePhonebookEntryA",
                              "RasDialA\0rasphone.pbk\0"s + "030 1234567\0"s)), "OK");
    EXPECT_EQ(Check(Importing("RASAPI32.dll", "RasDialA", "ATDT 030 1234567")), "OK");
    EXPECT_EQ(Check(Importing("KERNEL32.dll", "Sleep",
                              "Vorsicht bei 0190-8123456\0CurrentVersion\\Run\0"s)), "OK");
    EXPECT_EQ(Check(Importing("KERNEL32.dll", "LoadLibraryA", "rasapi32.dll\0"s)), "OK");
    // An installer that dials through RAS, finishes its set-up at the next start and explains modem commands.
    EXPECT_EQ(Check(Importing("RASAPI32.dll", "RasDialA",
                              "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\0"s
                              "Mit ATDT 0301234 wählt das Modem per Ton, mit ATDP per Impuls.\0ATDT%s\r\0ATZ\r\0"s)),
              "OK");

    // The test marker keeps its text, in any file that starts like a program; other files are not read on.
    vurtest::TempDir dir;
    const std::string marker = std::string("VUR-TEST") + "HEURISTIK-0190";
    dir.Write("marker.exe", "MZ.." + marker);
    EXPECT_EQ(CheckFileHeuristically(dir.File("marker.exe")), "Verdächtiges Testmuster " + marker + " gefunden");
    dir.Write("text.txt", "RasDialA\0 0190-8123456 " + marker);
    EXPECT_EQ(CheckFileHeuristically(dir.File("text.txt")), "OK");
    EXPECT_EQ(CheckFileHeuristically(dir.File("missing.exe")), "OK");
    dir.Write("empty.exe", "");
    EXPECT_EQ(CheckFileHeuristically(dir.File("empty.exe")), "OK");
}

} // namespace
