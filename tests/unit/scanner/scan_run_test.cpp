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
    std::string ScanDialers(const std::string& path) override { return Marked(path, "DIALER:"); }
    std::string CheckHeuristically(const std::string& path) override { return Marked(path, "HEUR:"); }
    bool IsolateFile(const std::string& path, const std::string& reason) override {
        events.push_back("isolate " + path + " | " + reason);
        return isolate(path);
    }
    std::string ProgramFolder() override { return "C:\\Programme\\VUR\\"; }
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
    std::vector<std::string> Summary(int files, int dialers, int suspicious) {
        return {"black ",
                "black Gescannte Dateien:\t\t" + std::to_string(files),
                "black Gefundene Dialer:\t\t" + std::to_string(dialers),
                "black Verdächtige Dateien:\t" + std::to_string(suspicious),
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

TEST_F(ScanRunTest, SkipsRestoreAtDriveRootQuarantineAndJunctions) {
    Put("C:\\_RESTORE\\A0001\\dialer.exe", "DIALER:D");
    Put("C:\\Daten\\_restore\\found.exe", "DIALER:Deep");
    Put("C:\\Programme\\VUR\\quarantäne\\123.dat.file", "DIALER:Isolated");
    Put("C:\\Programme\\VUR\\scanner.exe");
    // A junction that points at its own parent.
    ASSERT_EQ(symlink("..", host.fs.Local("C:\\Daten\\loop").c_str()), 0);
    host.options.isolate = true;
    run.Start();
    EXPECT_EQ(host.lines,
              Join({"black Scanne das Verzeichnis C:\\", "black ", "red C:\\Daten\\_restore\\found.exe - Gefunden: Deep",
                    "green Dialer erfolgreich isoliert."},
                   Summary(2, 1, 0)));
    EXPECT_EQ(host.fs.searchesOpen, 0) << "every search is closed";

    // Selecting the quarantine folder itself, in another letter case, scans nothing.
    host.lines.clear();
    host.selected = "c:\\PROGRAMME\\vur\\QUARANTÄNE";
    run.Start();
    EXPECT_EQ(host.lines, Join({"black Scanne das Verzeichnis c:\\PROGRAMME\\vur\\QUARANTÄNE", "black "},
                               Summary(0, 0, 0)));
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
