// The scan run over real temporary trees and a recording host: report lines and colours, questions,
// isolation, skips, message processing points, cancellation and the drive list.
#include "posix_scan_file_system.h"
#include "scanner/scan_run.h"
#include "shared/errors.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

namespace {

using namespace vur::scanner;

std::string Name(Colour c) {
    if (c == kBlack) return "black";
    if (c == kRed) return "red";
    if (c == kGreen) return "green";
    if (c == kDarkYellow) return "yellow";
    return "?";
}

// Files say what the fake engines find in them: "DIALER:<name>" or "HEUR:<analysis>"; anything else is clean.
class RecordingHost : public ScanHost {
public:
    explicit RecordingHost(const std::string& root) : fs(root) {}

    vurtest::PosixScanFileSystem fs;
    ScanOptions options;
    std::string selected = "C:\\";
    bool hasSelection = true;
    bool answer = true;
    bool mayContinue = false;
    std::function<bool(const std::string&)> isolate = [](const std::string&) { return true; };
    std::function<void()> onProcess;
    std::vector<std::string> lines, events;
    std::vector<std::string> scanned;                    // every path given to the signature engine
    std::map<std::string, std::uint32_t> readErrors;     // path -> the engine's read error for it
    std::string programFolder = "C:\\Programme\\VUR\\";
    int processed = 0;

    void AddReportLine(const std::string& text, Colour colour) override { lines.push_back(Name(colour) + " " + text); }
    void SetStatus(const std::string& folder) override { events.push_back("status " + folder); }
    void ClearStatus() override { events.push_back("status cleared"); }
    bool Ask(const std::string& text) override {
        events.push_back("ask " + text);
        return answer;
    }
    void ProcessMessages() override {
        ++processed;
        if (onProcess) onProcess();
    }
    void SetRunning(bool running) override {
        mayContinue = running;
        events.push_back(running ? "running" : "idle");
    }
    bool MayContinue() override { return mayContinue; }
    ScanOptions Options() override { return options; }
    bool HasSelectedFolder() override { return hasSelection; }
    std::string SelectedFolderPath() override { return selected; }
    std::string ScanDialers(const std::string& path, std::uint32_t& readError) override {
        scanned.push_back(path);
        const auto fault = readErrors.find(path);
        readError = fault != readErrors.end() ? fault->second : access(fs.Local(path).c_str(), R_OK) == 0 ? 0 : 2;
        return readError ? "OK" : Marked(path, "DIALER:");
    }
    std::string CheckHeuristically(const std::string& path) override { return Marked(path, "HEUR:"); }
    bool IsolateFile(const std::string& path, const std::string& reason) override {
        events.push_back("isolate " + path + " | " + reason);
        return isolate(path);
    }
    std::string ProgramFolder() override { return programFolder; }
    ScanFileSystem& FileSystem() override { return fs; }

private:
    std::string Marked(const std::string& path, const std::string& marker) {
        std::ifstream in(fs.Local(path));
        std::stringstream content;
        content << in.rdbuf();
        const std::string text = content.str();
        return text.compare(0, marker.size(), marker) == 0 ? text.substr(marker.size()) : "OK";
    }
};

class ScanRunTest : public ::testing::Test {
protected:
    vurtest::TempDir temp;
    RecordingHost host{temp.Path()};
    ScanRun run{host};

    // "C:\a\b.exe" with the content given; folders on the way are made.
    void Put(const std::string& windowsPath, const std::string& content = "clean") {
        const std::string local = host.fs.Local(windowsPath);
        for (std::size_t at = temp.Path().size() + 1; (at = local.find('/', at + 1)) != std::string::npos;)
            mkdir(local.substr(0, at).c_str(), 0755);
        if (windowsPath.back() == '\\') return;
        std::ofstream(local) << content;
    }
    std::vector<std::string> Summary(int files, int dialers, int suspicious, int unchecked = 0) {
        return {"black ",
                "black Gescannte Dateien:\t\t" + std::to_string(files),
                "black Gefundene Dialer:\t\t" + std::to_string(dialers),
                "black Verdächtige Dateien:\t" + std::to_string(suspicious),
                "black Nicht prüfbare Dateien:\t" + std::to_string(unchecked),
                "black Scanvorgang erfolgreich abgeschlossen.",
                "black "};
    }
    static std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(ScanRunTest, FolderRunReportsEachHitAsksAndSummarises) {
    Put("C:\\Daten\\a_dialer.exe", "DIALER:0190 Testdialer");
    Put("C:\\Daten\\b_clean.txt");
    Put("C:\\Daten\\c_suspect.exe", "HEUR:Wählt 0190");
    Put("C:\\Daten\\d_ok_heuristic.exe", "HEUR:OK, aber seltsam");
    Put("C:\\Daten\\z_sub\\e_dialer.scr", "DIALER:OKAY-Dialer");
    host.options.heuristic = true;
    host.selected = "C:\\Daten";
    int asked = 0;
    host.isolate = [&](const std::string& path) { return path.find("e_dialer") == std::string::npos; };
    host.onProcess = [&] { ++asked; };
    run.Start();

    EXPECT_EQ(host.lines,
              Join({"black Scanne das Verzeichnis C:\\Daten",
                    "black ",
                    "red C:\\Daten\\a_dialer.exe - Gefunden: 0190 Testdialer",
                    "green Dialer erfolgreich isoliert.",
                    "yellow C:\\Daten\\c_suspect.exe - Verdächtig: Wählt 0190",
                    "green Datei erfolgreich isoliert.",
                    // A signature result is a hit unless it is exactly "OK".
                    "red C:\\Daten\\z_sub\\e_dialer.scr - Gefunden: OKAY-Dialer",
                    "red Dialer NICHT erfolgreich isoliert."},
                   Summary(5, 2, 1)));
    EXPECT_EQ(host.events,
              (std::vector<std::string>{
                  "running",
                  "status C:\\Daten\\",
                  "ask Es wurde ein Dialer in der Datei \"C:\\Daten\\a_dialer.exe\" gefunden. Soll er isoliert werden?",
                  "isolate C:\\Daten\\a_dialer.exe | 0190 Dialer",
                  "ask Es wurde eine verdächtige Datei \"C:\\Daten\\c_suspect.exe\" gefunden. Die Analyse ergab "
                  "folgendes Ergebnis: Wählt 0190. Soll die Datei isoliert werden?",
                  "isolate C:\\Daten\\c_suspect.exe | Verdächtig: Wählt 0190",
                  "status C:\\Daten\\z_sub\\",
                  "ask Es wurde ein Dialer in der Datei \"C:\\Daten\\z_sub\\e_dialer.scr\" gefunden. Soll er isoliert "
                  "werden?",
                  "isolate C:\\Daten\\z_sub\\e_dialer.scr | 0190 Dialer",
                  "idle",
                  "status cleared"}));
    // Once per folder and once after each hit.
    EXPECT_EQ(host.processed, 2 + 3);
    EXPECT_EQ(run.Counts().files, 5);
    EXPECT_FALSE(host.mayContinue);

    // No keeps the file, yet it counts; without heuristics the suspicious file is clean.
    host.lines.clear();
    host.events.clear();
    host.answer = false;
    host.options.heuristic = false;
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis C:\\Daten", "black ",
                                "red C:\\Daten\\a_dialer.exe - Gefunden: 0190 Testdialer",
                                "red C:\\Daten\\z_sub\\e_dialer.scr - Gefunden: OKAY-Dialer"},
                               Summary(5, 2, 0)));
    for (const std::string& event : host.events) EXPECT_NE(event.rfind("isolate", 0), 0u) << event;
}

TEST_F(ScanRunTest, ReportOnlyAndAutomaticIsolationAndFailedIsolation) {
    Put("C:\\x\\dialer.exe", "DIALER:D");
    Put("C:\\x\\suspect.exe", "HEUR:H");
    host.selected = "C:\\x\\";
    host.options = ScanOptions{false, true, true, true}; // report only wins over automatic isolation
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis C:\\x\\", "black ", "red C:\\x\\dialer.exe - Gefunden: D",
                                "yellow C:\\x\\suspect.exe - Verdächtig: H"},
                               Summary(2, 1, 1)));
    EXPECT_EQ(host.events, (std::vector<std::string>{"running", "status C:\\x\\", "idle", "status cleared"}));
    EXPECT_EQ(host.processed, 1 + 2);

    // Automatic isolation asks nothing for the dialer; the suspicious file is still asked about. The quarantine
    // folder failing (an I/O error) and a failed move both give the red line, and the run goes on.
    host.lines.clear();
    host.events.clear();
    host.options.reportOnly = false;
    host.isolate = [](const std::string& path) -> bool {
        if (path.find("dialer") != std::string::npos) throw vur::EVurError("Quarantine: cannot create");
        return false;
    };
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis C:\\x\\", "black ", "red C:\\x\\dialer.exe - Gefunden: D",
                                "red Dialer NICHT erfolgreich isoliert.", "yellow C:\\x\\suspect.exe - Verdächtig: H",
                                "red Datei NICHT erfolgreich isoliert."},
                               Summary(2, 1, 1)));
    ASSERT_EQ(host.events.size(), 7u);
    EXPECT_EQ(host.events[2], "isolate C:\\x\\dialer.exe | 0190 Dialer");
    EXPECT_EQ(host.events[3].rfind("ask Es wurde eine verdächtige Datei", 0), 0u);
}

// The program folder comes in its 8.3 form (as on Windows 9x); the walk sees the long names.
TEST_F(ScanRunTest, SkipsRestoreAtDriveRootQuarantineSignatureFilesAndJunctions) {
    Put("C:\\_RESTORE\\A0001\\dialer.exe", "DIALER:D");
    Put("C:\\Daten\\_restore\\found.exe", "DIALER:Deep");
    Put("C:\\Programme\\VUR\\quarantäne\\123.dat.file", "DIALER:Isolated");
    Put("C:\\Programme\\VUR\\scanner.exe");
    // One signature file's pattern matches text in another; a file loaded through its alias (*.dat) as well.
    Put("C:\\Programme\\VUR\\signaturen\\a.dat", "DIALER:Signatur");
    Put("C:\\Programme\\VUR\\signaturen\\b.data", "DIALER:Signatur");
    Put("C:\\Programme\\VUR\\signaturen\\abgelegt.exe", "DIALER:Abgelegt");
    Put("C:\\Archiv\\signaturen\\alt.dat", "DIALER:Kopie");
    host.fs.shortNames = {{"Programme", "PROGRA~1"}, {"quarantäne", "QUARAN~1"}, {"b.data", "B~1.DAT"}};
    host.programFolder = "C:\\PROGRA~1\\VUR\\";
    // A junction that points at its own parent.
    ASSERT_EQ(symlink("..", host.fs.Local("C:\\Daten\\loop").c_str()), 0);
    host.options.isolate = true;
    run.Start();
    EXPECT_EQ(host.lines,
              Join({"black Scanne das Verzeichnis C:\\", "black ", "red C:\\Archiv\\signaturen\\alt.dat - Gefunden: Kopie",
                    "green Dialer erfolgreich isoliert.", "red C:\\Daten\\_restore\\found.exe - Gefunden: Deep",
                    "green Dialer erfolgreich isoliert.",
                    "red C:\\Programme\\VUR\\signaturen\\abgelegt.exe - Gefunden: Abgelegt",
                    "green Dialer erfolgreich isoliert."},
                   Summary(4, 3, 0)));
    EXPECT_EQ(host.fs.searchesOpen, 0) << "every search is closed";

    // Selecting the quarantine folder itself, in another letter case, scans nothing.
    host.lines.clear();
    host.selected = "c:\\PROGRAMME\\vur\\QUARANTÄNE";
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis c:\\PROGRAMME\\vur\\QUARANTÄNE", "black "},
                               Summary(0, 0, 0)));
    // And in its short form, with a program folder in its long one.
    host.lines.clear();
    host.selected = "C:\\PROGRA~1\\VUR\\QUARAN~1";
    host.programFolder = "C:\\Programme\\VUR\\";
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis C:\\PROGRA~1\\VUR\\QUARAN~1", "black "},
                               Summary(0, 0, 0)));
}

// What the ANSI calls cannot name is reached through short names; what cannot be read is named, not counted.
TEST_F(ScanRunTest, EveryFileIsCheckedOrNamedWithItsReason) {
    // A folder named in Cyrillic, which the search shows as "?" and reaches through its alias; names on disk are
    // bytes that are no CP1252 ("Дозвон", "Łódź.exe").
    const std::string cyrillic = "\xD0\x94\xD0\xBE\xD0\xB7\xD0\xB2\xD0\xBE\xD0\xBD";
    const std::string polish = "\xC5\x81\xC3\xB3" "d" "\xC5\xBA.exe";
    Put("C:\\t\\" + cyrillic + "\\dialer.exe", "DIALER:Kyrillisch");
    Put("C:\\t\\" + cyrillic + "\\" + polish, "DIALER:Polnisch");
    Put("C:\\t\\ohne_alias\\Ça.exe", "DIALER:Unerreichbar");
    Put("C:\\t\\bestfit\\x.exe", "DIALER:Bestfit");
    host.fs.shortNames = {{cyrillic, "8B2F~1"}, {polish, "ODZ~1.EXE"}, {"Ça.exe", "CA~1.EXE"},
                          {"bestfit", "BESTFI~1"}, {"con.liste", "CON~1.LIS"}};
    // No alias for this one: 8.3 names switched off. One folder a best-fit mapping names as one that is not.
    host.fs.ansiNames = {{cyrillic, "??????"}, {polish, "?ód?.exe"}, {"ohne_alias", "ohne_alias"},
                         {"Ça.exe", "?a.exe"}, {"bestfit", "bestfît"}};
    host.fs.shortNames.erase("Ça.exe");
    // Held open without sharing, denied to the user, and a generic read error.
    Put("C:\\t\\gesperrt.exe", "DIALER:Gesperrt");
    Put("C:\\t\\geschuetzt.exe", "DIALER:Geschuetzt");
    Put("C:\\t\\kaputt.exe", "DIALER:Kaputt");
    host.readErrors = {{"C:\\t\\gesperrt.exe", 32}, {"C:\\t\\geschuetzt.exe", 5}, {"C:\\t\\kaputt.exe", 23}};
    // Device names are never opened, also with an extension and blanks before it; an alias reaches a file.
    Put("C:\\t\\com1.exe", "DIALER:Com");
    Put("C:\\t\\nul .dat", "DIALER:Nul");
    Put("C:\\t\\con.liste", "DIALER:ConListe");
    // 300 characters: each folder of 80 has an alias; the file is reached below the short form.
    const std::string f80(80, 'f'), g80(80, 'g'), h80(80, 'h');
    const std::string deep = "C:\\t\\lang\\" + f80 + "\\" + g80 + "\\" + h80 + "\\";
    Put(deep + "tief_unten_liegender_dialer_mit_recht_langem_namen.exe", "DIALER:Tief");
    Put(deep + std::string(40, 'k') + ".exe", "DIALER:Ohne Alias");
    // The same depth without any alias: neither the file nor a folder below it can be named.
    const std::string x80(80, 'x'), y80(80, 'y'), z80(80, 'z');
    const std::string plain = "C:\\t\\ohne\\" + x80 + "\\" + y80 + "\\" + z80 + "\\";
    Put(plain + std::string(40, 'k') + ".exe", "DIALER:Zu lang");
    Put(plain + "unterordner\\d.exe", "DIALER:Zu tief");
    host.fs.shortNames.insert({{f80, "FFFFFF~1"}, {g80, "GGGGGG~1"}, {h80, "HHHHHH~1"},
                               {"tief_unten_liegender_dialer_mit_recht_langem_namen.exe", "TIEF_U~1.EXE"}});
    ASSERT_GE((deep + "tief_unten_liegender_dialer_mit_recht_langem_namen.exe").size(), 300u);
    host.selected = "C:\\t";
    host.options.reportOnly = true;
    run.Start();

    const std::string shortDeep = "C:\\t\\lang\\FFFFFF~1\\GGGGGG~1\\HHHHHH~1\\";
    const std::string notChecked = "yellow Datei konnte nicht geprüft werden: ";
    EXPECT_EQ(host.lines,
              Join({"black Scanne das Verzeichnis C:\\t", "black ",
                    "red C:\\t\\8B2F~1\\ODZ~1.EXE - Gefunden: Polnisch",
                    "red C:\\t\\8B2F~1\\dialer.exe - Gefunden: Kyrillisch",
                    "red C:\\t\\BESTFI~1\\x.exe - Gefunden: Bestfit",
                    notChecked + "C:\\t\\com1.exe (Gerätename)",
                    "red C:\\t\\CON~1.LIS - Gefunden: ConListe",
                    notChecked + "C:\\t\\geschuetzt.exe (Zugriff verweigert)",
                    notChecked + "C:\\t\\gesperrt.exe (gesperrt)",
                    notChecked + "C:\\t\\kaputt.exe (Lesefehler 23)",
                    // Without an alias of its own the file is reached below the folder's short form.
                    "red " + shortDeep + std::string(40, 'k') + ".exe - Gefunden: Ohne Alias",
                    "red " + shortDeep + "TIEF_U~1.EXE - Gefunden: Tief",
                    notChecked + "C:\\t\\nul .dat (Gerätename)",
                    notChecked + plain + std::string(40, 'k') + ".exe (Pfad zu lang)",
                    "yellow Ordner konnte nicht geprüft werden: " + plain + "unterordner (Pfad zu lang)",
                    notChecked + "C:\\t\\ohne_alias\\?a.exe (Name im Zeichensatz nicht darstellbar)"},
                   Summary(6, 6, 0, 7)));
    for (const std::string& path : host.scanned) {
        EXPECT_EQ(path.find("com1"), std::string::npos) << path;
        EXPECT_EQ(path.find("nul "), std::string::npos) << path;
        EXPECT_LT(path.size(), 260u) << path;
    }
}

TEST_F(ScanRunTest, MessagesAfterEveryHundredthFileAndCancellationAfterTheEntryInHand) {
    for (int i = 0; i < 250; ++i) Put("C:\\many\\f" + std::to_string(1000 + i));
    host.selected = "C:\\many";
    std::vector<int> processedAt;
    host.onProcess = [&] { processedAt.push_back(run.Counts().files); };
    run.Start();
    EXPECT_EQ(processedAt, (std::vector<int>{0, 100, 200}));

    // All drives: C: (the tree above) and D:; E: has no medium and is left out. "Abbrechen" pressed at the
    // 100th file ends the walk after it, and D: is never started.
    Put("D:\\d.exe", "DIALER:D");
    host.fs.extraDrives = "E";
    host.options.allDrives = true;
    host.lines.clear();
    host.events.clear();
    host.onProcess = [&] {
        if (run.Counts().files == 100) host.mayContinue = false;
    };
    run.Start();
    EXPECT_EQ(run.ListDrives(), (std::vector<std::string>{"C:\\", "D:\\"}));
    EXPECT_EQ(host.lines, Join({"black Scanne alle verfügbaren Laufwerke", "black "}, Summary(100, 0, 0)));
    EXPECT_EQ(host.events, (std::vector<std::string>{"running", "status C:\\", "status C:\\many\\", "idle",
                                                     "status cleared"}));
    EXPECT_EQ(host.fs.mode_, 0u) << "error mode restored";
    EXPECT_EQ(host.fs.silenced, 2);
}

TEST_F(ScanRunTest, NothingSelectedVirtualFolderAndNoDrives) {
    Put("C:\\a.exe", "DIALER:D");
    host.hasSelection = false;
    run.Start();
    EXPECT_TRUE(host.lines.empty());
    EXPECT_TRUE(host.events.empty());

    host.hasSelection = true;
    host.selected = ""; // "Arbeitsplatz" and other virtual folders have no file-system path
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis ", "black "}, Summary(0, 0, 0)));

    host.lines.clear();
    host.options.allDrives = true;
    host.fs.driveStringsFail = true;
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne alle verfügbaren Laufwerke", "black "}, Summary(0, 0, 0)));
    EXPECT_EQ(host.fs.mode_, 0u);
}

} // namespace
