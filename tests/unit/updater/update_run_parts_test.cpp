// The update run's portable parts: the list read entry by entry, hostile file names, replacing installed
// files on both families, and the WININIT.INI "[rename]" section.
#include "updater/file_replace.h"
#include "updater/update_list.h"
#include "updater/update_names.h"
#include "updater/update_run.h"
#include "updater/update_manifest.h"
#include "shared/sha512.h"
#include "shared/crc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

using namespace vur::updater;
using vur::RefusalReason;
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
    // Windows trims blanks before the extension and opens the device all the same.
    for (const char* device : {"nul .dat", "com1  .txt", "hilfe\\aux .htm"}) EXPECT_NE(RefusalReason(device), "") << device;
    // What would break a WININIT.INI line is refused for listed files only.
    for (const char* ini : {"a=b.dll", "a;b.dll", "[rename].dll", "x]"}) {
        EXPECT_EQ(RefusalReason(ini), "") << ini;
        EXPECT_NE(UpdateNameRefusalReason(ini), "") << ini;
    }
    EXPECT_EQ(UpdateNameRefusalReason("signaturen\\dialer.dat"), "");
    EXPECT_EQ(LocalPath("C:\\VUR\\", "hilfe/index.htm"), "C:\\VUR\\hilfe\\index.htm");

    const unsigned char hash[64] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef, 0xff};
    EXPECT_EQ(TemporaryPath("C:\\VUR\\watch.dll", hash), "C:\\VUR\\watch.dllupdate0123456789abcdef.tmp");
    for (const char* temporary : {"watch.dllupdate.tmp", "watch.dllUPDATE0123456789ABCDEF.tmp", "update.tmp"})
        EXPECT_TRUE(IsTemporaryName(temporary)) << temporary;
    for (const char* other : {"watch.dll", "updates.dat", "update.tmp.dat", "watch.dllupdatex.tmp", "x.tmp"})
        EXPECT_FALSE(IsTemporaryName(other)) << other;
    EXPECT_TRUE(IsTemporaryPathOf("c:\\v\\a.dll", "C:\\V\\A.DLLupdate00ff.tmp"));
    EXPECT_FALSE(IsTemporaryPathOf("c:\\v\\a.dll", "c:\\v\\a.dll.bakupdate00ff.tmp")) << "another file's download";
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
    std::vector<std::string> FindFiles(const std::string& prefix, const std::string& suffix) override {
        std::vector<std::string> found;
        for (const auto& [path, bytes] : files)
            if (path.size() >= prefix.size() + suffix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
                path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0)
                found.push_back(path);
        return found;
    }
    // The next start of Windows: the scheduled moves in their order; one whose source is gone does nothing.
    void Restart() {
        for (const auto& [from, to] : atRestart)
            if (files.count(from)) {
                files[to] = files[from];
                files.erase(from);
            }
        atRestart.clear();
    }
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

Sha512Hash HashOf(const std::string& bytes) {
    const std::string digest = vur::Sha512Digest(bytes);
    Sha512Hash hash;
    std::copy(digest.begin(), digest.end(), hash.begin());
    return hash;
}

// The updater's window and the server as fakes over the file system above. The publisher signs what
// `published` holds; the server sends what `served` holds (a download missing there fails, one in `corrupt`
// arrives with its last byte changed) and never more than the size asked for.
class FakeHost : public UpdateHost {
public:
    FakeSystem system;
    std::map<std::string, std::string> served;
    std::set<std::string> corrupt;
    std::vector<std::pair<std::string, std::string>> published; // file, bytes as signed
    std::vector<std::string> messages, downloads;
    bool pageOpened = false;
    bool diskFull = false; // every download's write fails half way

    std::string ProgramFolder() override { return "c:\\vur\\"; }
    std::string ServerUrl() override { return "http://update/"; }
    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    void SetProgressMaximum(int) override {}
    void StartProgressTimer() override {}
    bool Download(const std::string& url, const std::string& target, std::uint64_t limit, std::uint32_t& checksum,
                  DownloadWatcher* watcher) override {
        if (system.files.count(target)) throw vur::EVurError("the download name is taken: " + target);
        downloads.push_back(url);
        const auto found = served.find(url);
        bool fetched = found != served.end();
        std::string body = fetched ? found->second : "";
        if (corrupt.count(url) && !body.empty()) body.back() ^= 1;
        if (body.size() > limit) {
            body.resize(limit);
            fetched = false;
        }
        if (diskFull) {
            system.files[target] = body.substr(0, body.size() / 2);
            throw vur::EVurError("Auf Laufwerk c: ist nicht genug Platz frei.");
        }
        system.files[target] = body;
        checksum = CrcOf(body);
        if (watcher) watcher->Received(body.data(), body.size());
        return fetched;
    }
    bool Fetch(const std::string& url, std::string& body, std::size_t limit) override {
        const auto found = served.find(url);
        if (found == served.end() || found->second.size() > limit) return false;
        body = found->second;
        return true;
    }
    const vur::ed25519::PublicKey& TrustedKey() override { return key; }
    std::uint64_t AcceptedSerial() override { return serial; }
    void KeepSerial(std::uint64_t value) override { serial = value; }
    bool StoreFile(const std::string& path, const std::string& bytes) override {
        system.files[path] = bytes;
        return true;
    }
    bool FileHash(const std::string& path, Sha512Hash& hash) override {
        if (!system.files.count(path)) return false;
        hash = HashOf(system.files[path]);
        return true;
    }
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

    // An entry of the list; its file is published (signed) with `content` and served with it.
    std::string Entry(const std::string& name, const std::string& file, const std::string& content) {
        std::string url = "http://update/" + file;
        for (char& c : url)
            if (c == '\\') c = '/';
        served[url] = content;
        published.emplace_back(file, content);
        return name + "\r\n" + file + "\r\n" + std::to_string(content.size()) + "\r\n" + Signed(content) + "\r\n" +
               url + "\r\n";
    }
    std::vector<ManifestEntry> Manifest() const {
        std::vector<ManifestEntry> entries;
        for (const auto& [file, bytes] : published) entries.push_back({file, bytes.size(), HashOf(bytes)});
        return entries;
    }
    // Publishes `list` with `entries` as its manifest, signed with `signer` under `listSerial`.
    void ServeList(const std::string& list, std::uint64_t listSerial, const std::vector<ManifestEntry>& entries,
                   const vur::ed25519::Seed* signer = nullptr) {
        served["http://update/updates.dat"] = list;
        const std::string text = ManifestText(listSerial, entries);
        served["http://update/updates.dat.sig"] =
            ListSignatureFile(vur::ed25519::Sign(signer ? *signer : seed, SignedMessage(list, text)), text);
        published.clear();
    }
    void ServeList(const std::string& list, std::uint64_t listSerial = 1) { ServeList(list, listSerial, Manifest()); }

    vur::ed25519::Seed seed{{7, 1, 7}};
    vur::ed25519::PublicKey key = vur::ed25519::PublicKeyOf(seed);
    std::uint64_t serial = 0;
};

std::string TemporaryOf(const std::string& local, const std::string& bytes) {
    return TemporaryPath(local, HashOf(bytes).data());
}

constexpr char kRestartText[] = " Um den Updatevorgang abzuschließen musst Du Deinen PC neu starten.";

} // namespace

// Every kind of entry, counted honestly; then runs while a replacement waits for the next start of Windows:
// the waiting file is never written again, a newer version goes to a name of its own, and the restart puts
// the newest in place.
TEST(UpdateRun, EveryKindOfEntryAndTheFilesThatWaitForARestart) {
    FakeHost host;
    host.system.nt = true;
    host.system.files = {{"c:\\vur\\current.dll", "gleich"}, {"c:\\vur\\scanner.exe", "alt"},
                         {"c:\\vur\\watch.dll", "alt"}, {"c:\\vur\\update.dat", "übrig"}};
    host.system.inUse = {"c:\\vur\\watch.dll"};
    const std::string list = host.Entry("Aktuell", "current.dll", "gleich") + host.Entry("Neu", "neu.dat", "neu") +
                             host.Entry("Scanner", "scanner.exe", "neu") + host.Entry("Fehlt", "fehlt.dll", "nie") +
                             host.Entry("Böse", "..\\fast.exe", "x") + host.Entry("Ini", "a=b.dll", "x") +
                             host.Entry("Monitor", "watch.dll", "neu") + "Rest\r\n";
    host.served.erase("http://update/fehlt.dll");
    host.corrupt = {"http://update/scanner.exe"};
    host.ServeList(list);

    UpdateOutcome outcome = RunUpdate(host);
    EXPECT_EQ(outcome.differing, 4);
    EXPECT_EQ(outcome.installed, 2);
    EXPECT_EQ(outcome.failed, 4) << "a corrupt, a failed and two refused entries";
    EXPECT_TRUE(outcome.restart);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{
                  "CRC Fehler: Scanner wurde fehlerhaft übertragen.",
                  "Verbindungsfehler: Fehler beim Download von Fehlt.",
                  "CRC Fehler: Fehlt wurde fehlerhaft übertragen.",
                  "Ungültige Updateliste: Der Eintrag \"Böse\" der Updateliste wird nicht übernommen. "
                  "Der Dateiname verweist aus dem Programmordner heraus.",
                  "Ungültige Updateliste: Der Eintrag \"Ini\" der Updateliste wird nicht übernommen. "
                  "Der Dateiname enthält eines der Zeichen = ; [ ].",
                  std::string("Update abgeschlossen: Es wurde(n) 2 neue(s) Update(s) installiert. 4 Update(s) "
                              "konnten nicht installiert werden.") + kRestartText}));
    const std::string waiting = TemporaryOf("c:\\vur\\watch.dll", "neu");
    const std::map<std::string, std::string> left{{"c:\\vur\\current.dll", "gleich"}, {"c:\\vur\\neu.dat", "neu"},
                                                  {"c:\\vur\\scanner.exe", "alt"}, {"c:\\vur\\updates.dat", list},
                                                  {"c:\\vur\\watch.dll", "alt"}, {waiting, "neu"}};
    EXPECT_EQ(host.system.files, left) << "no file of a failed download, the in-use one kept for the restart";
    EXPECT_EQ(host.system.atRestart, (std::vector<std::pair<std::string, std::string>>{{waiting, "c:\\vur\\watch.dll"}}));

    // Again before the restart: the waiting file is what the manifest names, so it is not fetched again and
    // stays as it was verified.
    host.messages.clear();
    host.downloads.clear();
    host.ServeList(host.Entry("Monitor", "watch.dll", "neu"), 2);
    outcome = RunUpdate(host);
    EXPECT_EQ(host.downloads, std::vector<std::string>{}) << "nothing fetched twice";
    EXPECT_EQ(host.system.files.at(waiting), "neu");
    EXPECT_EQ(host.messages, (std::vector<std::string>{std::string("Update abgeschlossen: Es wurde(n) 1 neue(s) "
                                                                   "Update(s) installiert.") + kRestartText}));

    // A newer version while one waits; a file cut off by a killed run lies under its name. The cut-off bytes
    // go, the newer version is fetched to its own name, the older waiting one goes too.
    const std::string newer = TemporaryOf("c:\\vur\\watch.dll", "neuer");
    host.system.files[newer] = "ne";
    host.messages.clear();
    host.ServeList(host.Entry("Monitor", "watch.dll", "neuer"), 3);
    outcome = RunUpdate(host);
    EXPECT_EQ(outcome.installed, 1);
    EXPECT_EQ(host.system.files.at(newer), "neuer");
    EXPECT_EQ(host.system.files.count(waiting), 0u);
    host.system.inUse.clear();
    host.system.Restart();
    EXPECT_EQ(host.system.files.at("c:\\vur\\watch.dll"), "neuer") << "the newest is in place after the restart";

    // A write that fails (a full disk) ends the run for the error box, and its half file goes on the way out.
    host.diskFull = true;
    host.ServeList(host.Entry("Monitor", "watch.dll", "am neuesten"), 4);
    EXPECT_THROW(RunUpdate(host), vur::EVurError);
    for (const auto& [path, bytes] : host.system.files) EXPECT_FALSE(IsTemporaryName(path)) << path;
    host.diskFull = false;

    // A run that finds everything current says so.
    host.messages.clear();
    host.ServeList(host.Entry("Aktuell", "current.dll", "gleich") + host.Entry("M", "watch.dll", "neuer"), 5);
    EXPECT_EQ(RunUpdate(host).differing, 0);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Update abgeschlossen: Es wurden keine neuen Updates gefunden."}));
    for (const auto& [path, bytes] : host.system.files) EXPECT_FALSE(IsTemporaryName(path)) << path;
}

TEST(UpdateRun, AnUnreachableServerOrABadListEndTheRun) {
    FakeHost host;
    host.system.files["c:\\vur\\updates.dat"] = "alt";
    const UpdateOutcome unreachable = RunUpdate(host);
    EXPECT_FALSE(unreachable.serverReached);
    EXPECT_TRUE(host.pageOpened);
    EXPECT_EQ(host.system.files.count("c:\\vur\\updates.dat"), 0u) << "no list of an earlier run stays";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Updateserver nicht erreichbar: Der Update Server konnte nicht erreicht", 0), 0u);

    host.served = {};
    const std::string good = host.Entry("Neu", "neu.dat", "neu");
    host.ServeList(good + "Kaputt\r\nk.dll\r\nzwölf\r\n1\r\nu\r\n");
    EXPECT_THROW(RunUpdate(host), EUpdateListError);
    EXPECT_EQ(host.system.files.at("c:\\vur\\neu.dat"), "neu") << "entries before the bad one are done";

    // A list over 256 KB is not even read.
    host.messages.clear();
    host.ServeList(good + std::string(256 * 1024, '\n'));
    EXPECT_FALSE(RunUpdate(host).serverReached);
}

// One flow through what the signed manifest guards. Lists without a valid signature, with a manifest changed
// after signing, or older than the last accepted one are refused before any entry is read. Then a file
// swapped for bytes of the same checksum, an entry the manifest does not name, names twice or with another
// size, and a body longer than listed leave the installed file and count as not installed.
TEST(UpdateRun, TheSignedManifestGuardsEveryList) {
    FakeHost host;
    host.system.nt = true;
    for (const char* file : {"a.dll", "b.dll", "c.dll", "d.dll", "e.dll", "f.dll"})
        host.system.files[std::string("c:\\vur\\") + file] = "alt";
    const std::string list = host.Entry("A", "a.dll", "neu-a") + host.Entry("B", "b.dll", "neu-b") +
                             host.Entry("C", "c.dll", "neu-c") + host.Entry("D", "d.dll", "neu-d") +
                             host.Entry("E", "e.dll", "neu-e") + host.Entry("F", "f.dll", "neu-f");
    std::vector<ManifestEntry> manifest;
    for (ManifestEntry entry : host.Manifest()) {
        if (entry.file == "c.dll") continue;          // C is not named
        if (entry.file == "e.dll") entry.size = 6;    // E has another size than listed
        manifest.push_back(entry);
    }
    manifest.push_back({"D.DLL", 5, HashOf("neu-d")}); // D is named twice
    host.served["http://update/b.dll"] = "neu-x";             // same size, other bytes: B is swapped
    host.served["http://update/f.dll"] = "neu-f and more";    // F runs over its size

    const std::string refusedList = "Updateliste abgelehnt: Die Updateliste des Update Servers ist nicht gültig "
                                    "signiert und wird nicht verwendet. Es wurde nichts installiert. Vielleicht "
                                    "wurde die Verbindung manipuliert; versuche es später noch einmal.";
    host.served["http://update/updates.dat"] = list; // no signature at all
    EXPECT_TRUE(RunUpdate(host).listRefused);
    const vur::ed25519::Seed stranger{{9}};
    host.ServeList(list, 5, manifest, &stranger);
    EXPECT_TRUE(RunUpdate(host).listRefused) << "signed with another key";
    host.ServeList(list, 5, manifest);
    const std::string genuine = host.served["http://update/updates.dat.sig"];
    host.served["http://update/updates.dat"] = list + "\r\n";
    EXPECT_TRUE(RunUpdate(host).listRefused) << "the list changed after signing";
    host.served["http://update/updates.dat"] = list;
    const auto refusedWith = [&](const std::string& from, const std::string& to) {
        std::string tampered = genuine;
        tampered.replace(tampered.find(from, 64), from.size(), to);
        host.served["http://update/updates.dat.sig"] = tampered;
        return RunUpdate(host).listRefused;
    };
    EXPECT_TRUE(refusedWith("5\n", "6\n")) << "the serial";
    EXPECT_TRUE(refusedWith(" 5 a.dll", " 6 a.dll")) << "a size";
    EXPECT_TRUE(refusedWith("b.dll\n", "x.dll\n")) << "a name";
    EXPECT_TRUE(refusedWith(genuine.substr(66, 2), genuine[66] == '0' ? "1" + genuine.substr(67, 1) : "0" + genuine.substr(67, 1)))
        << "a hash";
    EXPECT_NE(SignedMessage(list + "x", "\n"), SignedMessage(list, "x\n")) << "no byte moves between list and manifest";
    EXPECT_EQ(host.messages, std::vector<std::string>(7, refusedList));
    EXPECT_EQ(host.serial, 0u);
    EXPECT_EQ(host.system.files.count("c:\\vur\\updates.dat"), 0u) << "nothing of a refused list is written";

    host.messages.clear();
    host.served["http://update/updates.dat.sig"] = genuine;
    const UpdateOutcome outcome = RunUpdate(host);
    EXPECT_FALSE(outcome.listRefused);
    EXPECT_EQ(host.serial, 5u);
    EXPECT_EQ(outcome.installed, 1);
    EXPECT_EQ(outcome.failed, 5);
    const auto unsigned_ = [](const char* name) {
        return std::string("Signaturfehler: Die Signatur von ") + name + " fehlt oder ist ungültig. Die Datei wurde "
               "nicht ersetzt.";
    };
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{
                  "CRC Fehler: B wurde fehlerhaft übertragen.", unsigned_("C"), unsigned_("D"), unsigned_("E"),
                  "Verbindungsfehler: Fehler beim Download von F.",
                  "Update abgeschlossen: Es wurde(n) 1 neue(s) Update(s) installiert. 5 Update(s) konnten nicht "
                  "installiert werden."}));
    EXPECT_EQ(host.downloads, (std::vector<std::string>{"http://update/a.dll", "http://update/b.dll",
                                                        "http://update/f.dll"}))
        << "one request for the list's signature, none per file";
    EXPECT_EQ(host.system.files.at("c:\\vur\\a.dll"), "neu-a");
    for (const char* kept : {"b.dll", "c.dll", "d.dll", "e.dll", "f.dll"})
        EXPECT_EQ(host.system.files.at(std::string("c:\\vur\\") + kept), "alt") << kept;
    for (const auto& [path, bytes] : host.system.files) EXPECT_FALSE(IsTemporaryName(path)) << path;

    // A file swapped for bytes of the same checksum: only the signed hash tells it.
    host.messages.clear();
    host.system.files["c:\\vur\\a.dll"] = "alt";
    const std::string one = host.Entry("A", "a.dll", "neu-a");
    host.ServeList(one, 5, {{"a.dll", 5, HashOf("neu-b")}});
    RunUpdate(host);
    EXPECT_EQ(host.messages.front(), "Signaturfehler: A stimmt nicht mit der signierten Updateliste überein. Die "
                                     "Datei wurde nicht ersetzt.");
    EXPECT_EQ(host.system.files.at("c:\\vur\\a.dll"), "alt");

    // An older list is refused, the same serial again is taken.
    host.messages.clear();
    host.ServeList(list, 4, manifest);
    EXPECT_TRUE(RunUpdate(host).listRefused);
    EXPECT_EQ(host.messages, (std::vector<std::string>{
                                 "Updateliste abgelehnt: Die Updateliste des Update Servers ist älter als die zuletzt "
                                 "installierte (Nummer 4, installiert ist Nummer 5). Sie wird nicht verwendet, es "
                                 "wurde nichts installiert."}));
    host.ServeList(list, 5, manifest);
    EXPECT_FALSE(RunUpdate(host).listRefused);
}
