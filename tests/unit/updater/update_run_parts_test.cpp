// The update run's portable parts: the list read entry by entry, hostile file names, replacing installed
// files on both families, and the WININIT.INI "[rename]" section.
#include "updater/file_replace.h"
#include "updater/update_list.h"
#include "updater/update_names.h"
#include "updater/update_run.h"
#include "updater/update_signatures.h"
#include "shared/crc.h"

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
    std::set<std::string> inUse, readOnly;
    bool wininitExists = false, wininitReadable = true, wininitWritable = true;
    std::string wininit;
    std::vector<std::pair<std::string, std::string>> atRestart;
    bool restartMovesAllowed = true;

    bool IsNT() override { return nt; }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    void MakeArchiveOnly(const std::string& path) override { readOnly.erase(path); }
    bool Delete(const std::string& path) override {
        if (inUse.count(path) || readOnly.count(path)) return false;
        return files.erase(path) != 0;
    }
    bool Move(const std::string& from, const std::string& to) override {
        if (!files.count(from) || files.count(to) || inUse.count(from) || inUse.count(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool MoveReplacing(const std::string& from, const std::string& to) override {
        if (!files.count(from) || inUse.count(to) || readOnly.count(to)) return false;
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
    nt.readOnly = {kTarget};
    EXPECT_EQ(ReplaceInstalledFile(nt, kTemp, kTarget), Replaced::Now) << "a read-only file is replaced as well";
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

namespace {

std::uint32_t CrcOf(const std::string& bytes) {
    return bytes.empty() ? 0xFFFFFFFFu : ~vur::CrcUpdate(0xFFFFFFFFu, bytes.data(), bytes.size());
}

std::string Signed(const std::string& bytes) { return std::to_string(static_cast<std::int32_t>(CrcOf(bytes))); }

// The updater's window and the server as fakes over the file system above; downloads missing from `served`
// fail, those in `corrupt` arrive with other bytes.
class FakeHost : public UpdateHost {
public:
    FakeSystem system;
    std::map<std::string, std::string> served;
    std::set<std::string> corrupt;
    std::vector<std::string> messages;
    bool pageOpened = false;

    std::string ProgramFolder() override { return "c:\\vur\\"; }
    std::string ServerUrl() override { return "http://update/"; }
    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    void SetProgressMaximum(int) override {}
    void StartProgressTimer() override {}
    bool Download(const std::string& url, const std::string& target, std::uint32_t& checksum,
                  DownloadWatcher* watcher) override {
        system.files[target] = "";
        const auto found = served.find(url);
        const bool fetched = found != served.end();
        if (fetched) system.files[target] = corrupt.count(url) ? found->second + "?" : found->second;
        checksum = CrcOf(system.files[target]);
        if (watcher) watcher->Received(system.files[target].data(), system.files[target].size());
        return fetched;
    }
    bool Fetch(const std::string& url, std::string& body) override {
        const auto found = served.find(url);
        if (found == served.end()) return false;
        body = found->second;
        return true;
    }
    const vur::ed25519::PublicKey& TrustedKey() override { return key; }
    std::uint64_t AcceptedSerial() override { return serial; }
    void KeepSerial(std::uint64_t value) override { serial = value; }

    // Publishes `list` signed with `signer` under `listSerial`.
    void ServeList(const std::string& list, std::uint64_t listSerial = 1, const vur::ed25519::Seed* signer = nullptr) {
        served["http://update/updates.dat"] = list;
        const auto signature = vur::ed25519::Sign(signer ? *signer : seed, ListMessage(listSerial, list));
        served["http://update/updates.dat.sig"] = ListSignatureFile(signature, listSerial);
    }
    // An entry whose file is served with its signature.
    std::string Entry(const std::string& name, const std::string& file, const std::string& content) {
        const std::string url = "http://update/" + file;
        const auto signature = vur::ed25519::Sign(seed, FileMessagePrefix(file) + content);
        served[url + ".sig"] = std::string(reinterpret_cast<const char*>(signature.data()), signature.size());
        return name + "\r\n" + file + "\r\n" + std::to_string(content.size()) + "\r\n" + Signed(content) + "\r\n" +
               url + "\r\n";
    }

    vur::ed25519::Seed seed{{7, 1, 7}};
    vur::ed25519::PublicKey key = vur::ed25519::PublicKeyOf(seed);
    std::uint64_t serial = 0;
    std::string ReadWholeFile(const std::string& path) override { return system.files.at(path); }
    std::uint32_t Checksum(const std::string& path) override {
        const auto found = system.files.find(path);
        return found == system.files.end() ? 0xFFFFFFFFu : CrcOf(found->second);
    }
    void RemoveFile(const std::string& path) override { system.files.erase(path); }
    void Message(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    void OpenUpdatePage() override { pageOpened = true; }
    ReplaceSystem& Files() override { return system; }
};

} // namespace

TEST(UpdateRun, EveryKindOfEntryInOneRun) {
    FakeHost host;
    host.system.nt = true;
    host.system.files = {{"c:\\vur\\current.dll", "gleich"}, {"c:\\vur\\scanner.exe", "alt"},
                         {"c:\\vur\\watch.dll", "alt"}, {"c:\\vur\\update.dat", "übrig"}};
    host.system.inUse = {"c:\\vur\\watch.dll"};
    host.served = {{"http://update/current.dll", "gleich"}, {"http://update/neu.dat", "neu"},
                   {"http://update/scanner.exe", "neu"}, {"http://update/watch.dll", "neu"}};
    host.corrupt = {"http://update/scanner.exe"};
    host.ServeList(host.Entry("Aktuell", "current.dll", "gleich") + host.Entry("Neu", "neu.dat", "neu") +
                   host.Entry("Scanner", "scanner.exe", "neu") + host.Entry("Fehlt", "fehlt.dll", "nie") +
                   host.Entry("Böse", "..\\fast.exe", "x") + host.Entry("Monitor", "watch.dll", "neu") + "Rest\r\n");

    const UpdateOutcome outcome = RunUpdate(host);
    EXPECT_EQ(outcome.differing, 4) << "counted whether or not the download succeeded";
    EXPECT_TRUE(outcome.restart);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{
                  "CRC Fehler: Scanner wurde fehlerhaft übertragen.",
                  "Verbindungsfehler: Fehler beim Download von Fehlt.",
                  "CRC Fehler: Fehlt wurde fehlerhaft übertragen.",
                  "Ungültige Updateliste: Der Eintrag \"Böse\" der Updateliste wird nicht übernommen. "
                  "Der Dateiname verweist aus dem Programmordner heraus.",
                  "Update abgeschlossen: Es wurde(n) 4 neue(s) Update(s) installiert. Um den Updatevorgang "
                  "abzuschließen musst Du Deinen PC neu starten."}));
    const std::map<std::string, std::string> left{{"c:\\vur\\current.dll", "gleich"}, {"c:\\vur\\neu.dat", "neu"},
                                                  {"c:\\vur\\scanner.exe", "alt"}, {"c:\\vur\\updates.dat",
                                                  host.served["http://update/updates.dat"]}, {"c:\\vur\\watch.dll", "alt"},
                                                  {"c:\\vur\\watch.dllupdate.tmp", "neu"}};
    EXPECT_EQ(host.system.files, left) << "no temporary file of a failed download, the in-use one kept for the restart";
    EXPECT_EQ(host.system.atRestart.size(), 1u);

    // A second run finds nothing new but the file waiting for the restart.
    host.messages.clear();
    host.system.inUse.clear();
    host.system.files["c:\\vur\\watch.dll"] = "neu";
    host.system.files["c:\\vur\\scanner.exe"] = "neu";
    host.ServeList(host.Entry("Aktuell", "current.dll", "gleich") + host.Entry("S", "scanner.exe", "neu"));
    EXPECT_EQ(RunUpdate(host).differing, 0);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Update abgeschlossen: Es wurden keine neuen Updates gefunden."}));
}

TEST(UpdateRun, AnUnreachableServerOrABadListEndTheRun) {
    FakeHost host;
    const UpdateOutcome unreachable = RunUpdate(host);
    EXPECT_FALSE(unreachable.serverReached);
    EXPECT_TRUE(host.pageOpened);
    EXPECT_EQ(host.system.files.count("c:\\vur\\updates.dat"), 0u) << "the half list is removed";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Updateserver nicht erreichbar: Der Update Server konnte nicht erreicht", 0), 0u);

    host.served = {{"http://update/neu.dat", "neu"}};
    host.ServeList(host.Entry("Neu", "neu.dat", "neu") + "Kaputt\r\nk.dll\r\nzwölf\r\n1\r\nu\r\n");
    EXPECT_THROW(RunUpdate(host), EUpdateListError);
    EXPECT_EQ(host.system.files.at("c:\\vur\\neu.dat"), "neu") << "entries before the bad one are done";
}

// One flow through what signatures guard: lists without a valid signature or older than the last accepted
// one are refused before any entry is read; a file swapped with a matching checksum, a missing signature, or
// a signature made for another name leave the installed file; the accepted serial is kept.
TEST(UpdateRun, SignaturesAndTheSerialGuardEveryList) {
    FakeHost host;
    host.system.nt = true;
    host.system.files = {{"c:\\vur\\a.dll", "alt"}, {"c:\\vur\\b.dll", "alt"}, {"c:\\vur\\c.dll", "alt"},
                         {"c:\\vur\\d.dll", "alt"}};
    const std::string list = host.Entry("A", "a.dll", "neu-a") + host.Entry("B", "b.dll", "neu-b") +
                             host.Entry("C", "c.dll", "neu-c") + host.Entry("D", "d.dll", "neu-d");
    host.served["http://update/a.dll"] = "neu-a";
    // b.dll is swapped on the server for bytes with the same checksum: its signature no longer fits.
    host.served["http://update/b.dll"] = "neu-b";
    host.served["http://update/b.dll.sig"] = host.served["http://update/a.dll.sig"];
    host.served["http://update/c.dll"] = "neu-c";
    host.served.erase("http://update/c.dll.sig");
    // d.dll is served with the signature of the same bytes under another name.
    host.served["http://update/d.dll"] = "neu-d";
    const auto signed_ = vur::ed25519::Sign(host.seed, FileMessagePrefix("x.dll") + "neu-d");
    host.served["http://update/d.dll.sig"] = std::string(reinterpret_cast<const char*>(signed_.data()), 64);

    const std::string refusedList = "Updateliste abgelehnt: Die Updateliste des Update Servers ist nicht gültig "
                                    "signiert und wird nicht verwendet. Es wurde nichts installiert. Vielleicht "
                                    "wurde die Verbindung manipuliert; versuche es später noch einmal.";
    host.served["http://update/updates.dat"] = list; // no list signature at all
    UpdateOutcome outcome = RunUpdate(host);
    EXPECT_TRUE(outcome.listRefused);
    EXPECT_EQ(host.messages, std::vector<std::string>{refusedList});
    EXPECT_EQ(host.system.files.count("c:\\vur\\updates.dat"), 0u);

    const vur::ed25519::Seed stranger{{9}};
    host.messages.clear();
    host.ServeList(list, 5, &stranger);
    EXPECT_TRUE(RunUpdate(host).listRefused) << "signed with another key";
    host.ServeList(list + "\r\n", 5);
    host.served["http://update/updates.dat"] = list; // the list changed after signing
    EXPECT_TRUE(RunUpdate(host).listRefused);
    EXPECT_EQ(host.messages, (std::vector<std::string>{refusedList, refusedList}));
    EXPECT_EQ(host.system.files.at("c:\\vur\\a.dll"), "alt");
    EXPECT_EQ(host.serial, 0u);

    host.messages.clear();
    host.ServeList(list, 5);
    outcome = RunUpdate(host);
    EXPECT_FALSE(outcome.listRefused);
    EXPECT_EQ(outcome.differing, 4);
    EXPECT_EQ(host.serial, 5u);
    const auto bad = [](const char* name) {
        return std::string("Signaturfehler: Die Signatur von ") + name + " fehlt oder ist ungültig. Die Datei wurde "
               "nicht ersetzt.";
    };
    EXPECT_EQ(host.messages, (std::vector<std::string>{bad("B"), bad("C"), bad("D"),
                                                       "Update abgeschlossen: Es wurde(n) 4 neue(s) Update(s) installiert."}));
    EXPECT_EQ(host.system.files.at("c:\\vur\\a.dll"), "neu-a");
    for (const char* kept : {"c:\\vur\\b.dll", "c:\\vur\\c.dll", "c:\\vur\\d.dll"})
        EXPECT_EQ(host.system.files.at(kept), "alt") << kept;
    for (const auto& [path, bytes] : host.system.files)
        EXPECT_EQ(path.find("update.tmp"), std::string::npos) << path;

    // An older list is refused, the same serial again is taken.
    host.messages.clear();
    host.ServeList(list, 4);
    EXPECT_TRUE(RunUpdate(host).listRefused);
    EXPECT_EQ(host.messages, (std::vector<std::string>{
                                 "Updateliste abgelehnt: Die Updateliste des Update Servers ist älter als die zuletzt "
                                 "installierte (Nummer 4, installiert ist Nummer 5). Sie wird nicht verwendet, es "
                                 "wurde nichts installiert."}));
    EXPECT_EQ(host.serial, 5u);
    host.ServeList(list, 5);
    EXPECT_FALSE(RunUpdate(host).listRefused);
}
