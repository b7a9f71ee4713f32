// The application watch over a scripted system: reaction tables, recheck budget, allowed programs.
#include "fake_application_system.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;
constexpr int Yes = 6, No = 7;
const std::string kDialer = "c:\\programme\\dialer\\dialer.exe";

struct WatchFixture {
    vurtest::FakeApplicationSystem system;
    vurtest::MemoryIniFile settings;
    vur::monitor::ApplicationWatch watch{system, settings};

    // Logs of one pass over a single process with the given verdict, setting and answers.
    Log Run(const char* verdict, int setting, std::deque<int> answers) {
        const char* key = std::string(verdict) == "dialer"       ? "Infizierte Anwendung"
                          : std::string(verdict) == "suspicious" ? "Verdächtige Anwendung"
                                                                 : "Neue Anwendung";
        settings.WriteInteger("Generell", key, setting);
        if (std::string(verdict) == "dialer") system.scanResults[kDialer] = "0190 Testdialer";
        if (std::string(verdict) == "suspicious") system.heuristicResults[kDialer] = "Testmuster";
        system.AddProcess(42, kDialer, {"RASAPI32.DLL"});
        system.answers = answers;
        watch.CheckApplications();
        return system.log;
    }
};


// One cell of a reaction table: the setting, the answers given, what the watch does, whether it allowed.
struct Cell {
    int setting;
    std::deque<int> answers;
    Log expected;
    bool allowed;
};

void CheckTable(const char* verdict, const std::vector<Cell>& cells) {
    for (const auto& cell : cells) {
        WatchFixture f;
        EXPECT_EQ(f.Run(verdict, cell.setting, cell.answers), cell.expected) << verdict << " " << cell.setting;
        EXPECT_EQ(!f.settings.ReadString("Anwendungen", kDialer, "").empty(), cell.allowed)
            << verdict << " " << cell.setting;
    }
}

} // namespace

TEST(ApplicationWatchReactions, KnownDialerTable) {
    const std::string iso = "isolate " + kDialer + " 0190 Dialer";
    CheckTable("dialer", {
        {0, {Yes}, {"ask 0190 DIALER ENTDECKT!!"}, true},
        {0, {No, No}, {"ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer beenden?"}, false},
        {0, {No, Yes, No}, {"ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer beenden?", "terminate 42", "ask 0190 Dialer isolieren?"}, false},
        {0, {No, Yes, Yes}, {"ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer beenden?", "terminate 42", "ask 0190 Dialer isolieren?", iso}, false},
        {1, {Yes}, {"terminate 42", "ask 0190 DIALER ENTDECKT!!"}, true},
        {1, {No, No}, {"terminate 42", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer isolieren?"}, false},
        {1, {No, Yes}, {"terminate 42", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer isolieren?", iso}, false},
        {2, {}, {"terminate 42"}, false},
        {3, {}, {"terminate 42", iso}, false},
        {4, {}, {}, false},
        {-1, {}, {}, false},
    });
}

TEST(ApplicationWatchReactions, SuspiciousFileTable) {
    const std::string iso = "isolate " + kDialer + " Verdächtig: Testmuster";
    CheckTable("suspicious", {
        {0, {Yes}, {"ask Verdächtige Anwendung entdeckt"}, true},
        {0, {No, No}, {"ask Verdächtige Anwendung entdeckt", "ask Verdächtige Anwendung beenden?"}, false},
        {0, {No, Yes, Yes}, {"ask Verdächtige Anwendung entdeckt", "ask Verdächtige Anwendung beenden?", "terminate 42", "ask Verdächtige Datei isolieren?", iso}, false},
        {1, {Yes}, {"terminate 42", "ask Verdächtige Anwendung entdeckt"}, true},
        {1, {No, Yes}, {"terminate 42", "ask Verdächtige Anwendung entdeckt", "ask Verdächtige Datei isolieren?", iso}, false},
        {1, {No, No}, {"terminate 42", "ask Verdächtige Anwendung entdeckt", "ask Verdächtige Datei isolieren?"}, false},
        {2, {}, {"terminate 42"}, false},
        {3, {}, {}, false},
    });
}

TEST(ApplicationWatchReactions, NewApplicationTable) {
    CheckTable("new", {
        {0, {Yes}, {"ask Neue Anwendung entdeckt"}, true},
        {0, {No, Yes}, {"ask Neue Anwendung entdeckt", "ask Neue Anwendung beenden?", "terminate 42"}, false},
        {0, {No, No}, {"ask Neue Anwendung entdeckt", "ask Neue Anwendung beenden?"}, false},
        {1, {Yes}, {"terminate 42", "ask Neue Anwendung entdeckt"}, true},
        {1, {No}, {"terminate 42", "ask Neue Anwendung entdeckt"}, false},
        {2, {}, {"terminate 42"}, false},
        {3, {}, {}, false},
    });
}

TEST(ApplicationWatchReactions, DefaultsWithoutSettingsAndExactQuestionTexts) {
    WatchFixture f;
    f.system.scanResults[kDialer] = "0190 Testdialer";
    f.system.AddProcess(42, kDialer);
    f.watch.CheckApplications();
    // "Infizierte Anwendung" defaults to 1: terminated before D1 shows.
    EXPECT_EQ(f.system.log, (Log{"terminate 42", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer isolieren?"}));
    EXPECT_EQ(f.system.lastFlags, 0x50014u);

    WatchFixture s;
    s.Run("suspicious", 0, {Yes});
    EXPECT_EQ(s.system.lastText, "Es wurde eine verdächtige Anwendung " + kDialer +
                                     " entdeckt. Die Analyse ergab dabei folgendes Ergebnis: Testmuster. Möchtest Du "
                                     "die verdächtige Anwendung erlauben?");
    WatchFixture d;
    d.Run("dialer", 0, {Yes});
    EXPECT_EQ(d.system.lastText, "Die Anwendung " + kDialer + " ist ein 0190 Dialer! Möchtest Du den Dialer erlauben?");
    WatchFixture n;
    n.system.AddProcess(7, kDialer, {"tapi32.dll"});
    n.system.answers = {Yes};
    n.watch.CheckApplications();
    EXPECT_EQ(n.system.lastText, "Es wurde eine neue Anwendung " + kDialer +
                                     " entdeckt, die prinzipiell eine Nummer wählen kann. Die neue Anwendung ist "
                                     "aber wahrscheinlich kein Dialer. Möchtest Du die neue Anwendung erlauben?");
}

TEST(ApplicationWatchReactions, AllowWritesPathPathChecksum) {
    WatchFixture f;
    f.system.checksums[kDialer] = 0x352441C2u;
    f.Run("dialer", 0, {Yes});
    EXPECT_EQ(f.settings.ReadString("Anwendungen", kDialer, ""), kDialer + "|" + kDialer + "|352441C2");
}

TEST(ApplicationWatchAllowed, CurrentChecksumAsksNothingInAnyCheck) {
    for (const char* verdict : {"dialer", "suspicious", "new"}) {
        WatchFixture f;
        f.system.checksums[kDialer] = 0x0000ABCDu;
        f.settings.WriteString("Anwendungen", kDialer, "Mein Tool|" + kDialer + "|0000ABCD");
        EXPECT_EQ(f.Run(verdict, 0, {}), Log{}) << verdict;
        f.watch.CheckApplications();
        EXPECT_EQ(f.system.log, Log{}) << verdict; // settled all the same
    }
}

TEST(ApplicationWatchAllowed, ChangedChecksumAsksAgainAndAllowingStoresTheNewOne) {
    WatchFixture f;
    f.system.checksums[kDialer] = 0x11111111u;
    f.settings.WriteString("Anwendungen", kDialer, kDialer + "|" + kDialer + "|22222222");
    EXPECT_EQ(f.Run("new", 0, {Yes}), Log{"ask Neue Anwendung entdeckt"});
    EXPECT_EQ(f.settings.ReadString("Anwendungen", kDialer, ""), kDialer + "|" + kDialer + "|11111111");
}

TEST(ApplicationWatchRecords, OneQuestionPerProcessWhateverTheAnswer) {
    WatchFixture f;
    f.Run("new", 0, {No, No});
    for (int tick = 0; tick < 5; ++tick) f.watch.CheckApplications();
    EXPECT_EQ(f.system.log.size(), 2u);
}

TEST(ApplicationWatchRecords, LibraryLoadedOnTheFifthTickIsCaughtAfterTheEleventhExaminationNot) {
    WatchFixture late, tooLate;
    for (auto* f : {&late, &tooLate}) {
        f->settings.WriteInteger("Generell", "Neue Anwendung", 2);
        f->system.AddProcess(50, kDialer);
    }
    for (int tick = 1; tick <= 5; ++tick) late.watch.CheckApplications();
    late.system.modules[50].push_back({"capi20.dll", "C:\\WINDOWS\\SYSTEM\\capi20.dll"});
    late.watch.CheckApplications();
    EXPECT_EQ(late.system.log, Log{"terminate 50"});

    for (int tick = 1; tick <= 11; ++tick) tooLate.watch.CheckApplications();
    EXPECT_EQ(tooLate.system.scans, 11); // first sight plus 10 re-checks
    tooLate.system.modules[50].push_back({"capi20.dll", "C:\\WINDOWS\\SYSTEM\\capi20.dll"});
    tooLate.watch.CheckApplications();
    EXPECT_EQ(tooLate.system.log, Log{});
    EXPECT_EQ(tooLate.system.scans, 11);
}

TEST(ApplicationWatchRecords, OwnProcessIsNeverNewButStillScanned) {
    WatchFixture f;
    f.settings.WriteInteger("Generell", "Neue Anwendung", 2);
    f.system.AddProcess(f.system.ownId, "c:\\programme\\vur\\fast.exe", {"rasapi32.dll"});
    f.watch.CheckApplications();
    EXPECT_EQ(f.system.log, Log{});
    EXPECT_EQ(f.system.scans, 1);
    // Its program file still goes to the engines: a dialer host is terminated like any other.
    WatchFixture g;
    g.settings.WriteInteger("Generell", "Infizierte Anwendung", 2);
    g.system.scanResults["c:\\programme\\vur\\fast.exe"] = "Dialer";
    g.system.AddProcess(g.system.ownId, "c:\\programme\\vur\\fast.exe");
    g.watch.CheckApplications();
    EXPECT_EQ(g.system.log, Log{"terminate 1000"});
}

TEST(ApplicationWatchRecords, GoneProcessesLeaveTheListAndIdZeroIsSkipped) {
    WatchFixture f;
    f.system.AddProcess(0, "c:\\windows\\system\\idle.exe", {"rasapi32.dll"});
    f.system.AddProcess(60, "c:\\a\\b.exe");
    f.watch.CheckApplications();
    EXPECT_EQ(f.watch.RecordCount(), 1u);
    f.system.processes.clear();
    f.watch.CheckApplications();
    EXPECT_EQ(f.watch.RecordCount(), 0u);
    // Reusing the id and image name of a settled process that has gone: examined afresh.
    f.settings.WriteInteger("Generell", "Neue Anwendung", 2);
    f.system.AddProcess(60, "c:\\a\\b.exe", {"rasapi32.dll"});
    f.watch.CheckApplications();
    EXPECT_EQ(f.system.log, Log{"terminate 60"});
}

TEST(ApplicationWatchPaths, LowerCaseLongPathOnNtAndImageNameOn9x) {
    WatchFixture nt;
    nt.system.processes.push_back({70, "DIALER~1.EXE"});
    nt.system.modules[70] = {{"DIALER~1.EXE", "C:\\PROGRA~1\\DIALER~1.EXE"}, {"RASAPI32.DLL", "x"}};
    nt.system.longPaths["c:\\progra~1\\dialer~1.exe"] = "C:\\Program Files\\Dialer Pro.EXE";
    nt.system.answers = {Yes};
    nt.watch.CheckApplications();
    EXPECT_NE(nt.system.lastText.find(" c:\\program files\\dialer pro.exe "), std::string::npos) << nt.system.lastText;

    WatchFixture w9x;
    w9x.system.nt = false;
    w9x.system.processes.push_back({71, "C:\\WINDOWS\\WÄHLER.EXE"});
    w9x.system.modules[71] = {{"x.exe", "C:\\ANDERS\\X.EXE"}, {"tapi32.dll", "y"}};
    w9x.system.answers = {Yes};
    w9x.watch.CheckApplications();
    EXPECT_NE(w9x.system.lastText.find(" c:\\windows\\wähler.exe "), std::string::npos) << w9x.system.lastText;

    // A bare image name on the 9x family falls back to the first module's path.
    WatchFixture bare;
    bare.system.nt = false;
    bare.system.processes.push_back({72, "WAEHLER.EXE"});
    bare.system.modules[72] = {{"WAEHLER.EXE", "C:\\WINDOWS\\WAEHLER.EXE"}, {"tapi32.dll", "y"}};
    bare.system.answers = {Yes};
    bare.watch.CheckApplications();
    EXPECT_NE(bare.system.lastText.find(" c:\\windows\\waehler.exe "), std::string::npos) << bare.system.lastText;
}

TEST(ApplicationWatchFailures, UnreadableModulesMissingEnginesAndFailedIsolation) {
    WatchFixture f;
    f.settings.WriteInteger("Generell", "Neue Anwendung", 2);
    f.system.processes.push_back({80, "geheim.exe"}); // no module snapshot on NT: nothing to check
    f.watch.CheckApplications();
    EXPECT_EQ(f.system.scans, 0);
    EXPECT_EQ(f.system.log, Log{});

    WatchFixture noEngines;
    noEngines.system.canScan = noEngines.system.canHeuristic = false;
    noEngines.system.scanResults[kDialer] = "Dialer";
    EXPECT_EQ(noEngines.Run("new", 2, {}), Log{"terminate 42"}); // the library check still works
    EXPECT_EQ(noEngines.system.scans, 0);

    WatchFixture failing;
    failing.system.isolationFails = true;
    failing.system.AddProcess(43, "c:\\zweiter\\dialer.exe", {"rasapi32.dll"});
    failing.settings.WriteInteger("Generell", "Neue Anwendung", 2);
    EXPECT_EQ(failing.Run("dialer", 3, {}),
              (Log{"terminate 43", "terminate 42", "error Quarantine: cannot create x"}));

    // Any other kind of exception out of the isolation is told the same way, and the pass goes on.
    WatchFixture odd;
    odd.system.isolationFailsOddly = true;
    odd.system.scanResults["c:\\zweiter\\dialer.exe"] = "0190 Testdialer";
    odd.system.AddProcess(43, "c:\\zweiter\\dialer.exe");
    EXPECT_EQ(odd.Run("dialer", 3, {}),
              (Log{"terminate 43", "error Unbekannter Fehler", "terminate 42", "error Unbekannter Fehler"}));
}

TEST(ApplicationWatchNesting, AnOpenQuestionPausesNothingAndTheHeldProcessIsTheOneEnded) {
    // Question D1 stays open ("Infizierte Anwendung" 0) while the tick runs inside it, as a real box
    // dispatches the tick's timer: a second dialer is ended at once, the first is not asked about twice.
    WatchFixture f;
    f.settings.WriteInteger("Generell", "Infizierte Anwendung", 0);
    const std::string second = "c:\\temp\\zweiter.exe";
    f.system.scanResults[kDialer] = f.system.scanResults[second] = "0190 Testdialer";
    f.system.AddProcess(42, kDialer);
    int depth = 0;
    f.system.onAsk = [&] {
        if (depth++ > 0) return;
        f.settings.WriteInteger("Generell", "Infizierte Anwendung", 2);
        f.system.AddProcess(43, second);
        f.watch.CheckApplications();
        // Meanwhile the first dialer ends and its id goes to an honest program.
        f.system.modules[42] = {{"editor.exe", "c:\\programme\\editor.exe"}};
        f.system.processes[0].imageName = "editor.exe";
    };
    f.system.answers = {No, Yes, No}; // D1 No, D2 Yes: ended
    f.watch.CheckApplications();
    EXPECT_EQ(f.system.log, (Log{"ask 0190 DIALER ENTDECKT!!", "terminate 43", "ask 0190 Dialer beenden?",
                                 "terminate 42", "ask 0190 Dialer isolieren?"}));
    EXPECT_EQ(f.system.terminatedPrograms, (std::vector<std::string>{second, kDialer}));

    // With as many questions open as may be: a dialer that would be asked about first waits, without using
    // up its re-checks; one that is ended first is ended, and its question is left out.
    WatchFixture g;
    g.settings.WriteInteger("Generell", "Infizierte Anwendung", 0);
    g.settings.WriteInteger("Generell", "Neue Anwendung", 1);
    g.system.scanResults[kDialer] = "0190 Testdialer";
    g.system.AddProcess(42, kDialer);
    g.system.AddProcess(44, "c:\\temp\\neu.exe", {"tapi32.dll"});
    g.system.canAsk = false;
    for (int tick = 0; tick < 15; ++tick) g.watch.CheckApplications();
    EXPECT_EQ(g.system.log, Log{"terminate 44"});
    g.system.canAsk = true;
    g.watch.CheckApplications();
    EXPECT_EQ(g.system.log, (Log{"terminate 44", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer beenden?"}));
}

TEST(ApplicationWatchFailures, DamagedSettingsFallBackToProtection) {
    // A reaction that cannot be read counts as its default (1: ended, then asked); an allow entry that cannot
    // be read counts as not allowed; each is told in German by its key, and the pass goes on.
    WatchFixture f;
    const std::string second = "c:\\temp\\zweiter.exe";
    f.system.scanResults[kDialer] = f.system.scanResults[second] = "0190 Testdialer";
    f.system.checksums[kDialer] = 0x352441C2;
    f.settings.WriteString("Anwendungen", kDialer, kDialer + "|" + kDialer + "|352441C2");
    f.settings.damaged = {"Generell/Infizierte Anwendung", "Anwendungen/" + kDialer};
    f.system.AddProcess(42, kDialer);
    f.system.AddProcess(43, second);
    f.watch.CheckApplications();
    EXPECT_EQ(f.system.log,
              (Log{"error Der Eintrag „" + kDialer + "“ im Abschnitt „Anwendungen“ von vur.conf ist beschädigt oder "
                   "kann gerade nicht gelesen werden. Er gilt deshalb als nicht erlaubt.",
                   "error " + vur::monitor::DecisionSettings::DamagedReactionText(vur::schema::kInfectedApplication),
                   "terminate 42", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer isolieren?",
                   "error " + vur::monitor::DecisionSettings::DamagedReactionText(vur::schema::kInfectedApplication),
                   "terminate 43", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer isolieren?"}));
    EXPECT_NE(f.system.log[1].find("„Infizierte Anwendung“"), std::string::npos);

    // A write that fails (the lock timed out) after Yes is told, and the next process is still examined.
    WatchFixture g;
    g.system.scanResults[kDialer] = g.system.scanResults[second] = "0190 Testdialer";
    g.settings.WriteInteger("Generell", "Infizierte Anwendung", 2);
    g.system.AddProcess(42, kDialer);
    g.system.AddProcess(43, second);
    g.system.answers = {Yes};
    g.settings.WriteInteger("Generell", "Infizierte Anwendung", 1);
    g.settings.failWrites = true;
    g.watch.CheckApplications();
    EXPECT_EQ(g.system.log, (Log{"terminate 42", "ask 0190 DIALER ENTDECKT!!", "error Cannot lock settings file",
                                 "terminate 43", "ask 0190 DIALER ENTDECKT!!", "ask 0190 Dialer isolieren?"}));
}
