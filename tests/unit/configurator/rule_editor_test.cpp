// The configurator's rules over list fakes and a real settings file: load and save, the switch that keeps
// edits from saving while a dialog is open, the monitor's entries kept across a save (also one written by
// another process while the save runs), names the allow entries cannot hold, an unreadable file.
#include "configurator/rule_editor.h"
#include "shared/errors.h"
#include "shared/sealing.h"
#include "shared/securityunit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <utility>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using vur::configurator::Row;
using Rows = std::vector<Row>;
using Names = std::vector<std::string>;

namespace {

const char kOwner[] = "Erika Mustermann";
const char kProduct[] = "55274-OEM-0011903-00102";
const char kFolder[] = "C:\\Programme\\VUR\\";

class VectorRows : public vur::configurator::RowList {
public:
    int Count() const override { return static_cast<int>(rows.size()); }
    Row At(int index) const override {
        if (onRead) std::exchange(onRead, nullptr)();
        return rows.at(index);
    }
    void Append(const Row& row) override { rows.push_back(row); }
    void Replace(int index, const Row& row) override { rows.at(index) = row; }
    void Delete(int index) override { rows.erase(rows.begin() + index); }
    void Clear() override { rows.clear(); }
    int Selected() const override { return selected; }

    Rows rows;
    int selected = -1;
    mutable std::function<void()> onRead; // once, at the next read of a row
};

// Files by typed name: what exists, its key path and its checksum.
class FakeFiles : public vur::configurator::ApplicationFiles {
public:
    bool Exists(const std::string& path) override { return keys.count(path) != 0; }
    std::string KeyPath(const std::string& path) override { return keys.at(path); }
    std::string ChecksumText(const std::string& path) override { return "CRC(" + path + ")"; }
    std::map<std::string, std::string> keys;
};

// A drop-down list of `lines` lines: a stored value without a line shows no selection.
class LinesChoice : public vur::configurator::Choice {
public:
    explicit LinesChoice(int lines) : lines_(lines) {}
    int Selected() const override { return selected; }
    void Select(int index) override { selected = index >= 0 && index < lines_ ? index : -1; }
    int selected = -1;

private:
    int lines_;
};

class RecordingStartValue : public vur::configurator::StartValue {
public:
    void Write(const std::string& data) override { calls.push_back("write " + data); }
    void Remove() override { calls.push_back("remove"); }
    Names calls;
};

// The configurator's window as fakes, on a settings file in a scratch folder.
struct Konfigurator {
    vurtest::TempDir dir;
    std::string path = dir.File("vur.conf");
    vur::TSECURITYINI settings{path, kOwner, kProduct};
    VectorRows applications, numbers;
    LinesChoice newNumber{4}, newApplication{4}, infected{5}, suspicious{4}, autoStart{2};
    RecordingStartValue startValue;
    vur::configurator::RuleEditor editor{settings, applications, numbers,
                                         {newNumber, newApplication, infected, suspicious, autoStart},
                                         startValue, kFolder};

    std::string File() const { return std::filesystem::exists(path) ? dir.Read("vur.conf") : std::string(); }
    Names Keys(const char* section) {
        Names names;
        settings.ReadSection(section, names);
        return names;
    }
};

} // namespace

TEST(RuleEditor, LoadShowsTheFileAndSaveWritesTheWindowBack) {
    Konfigurator k;
    k.editor.LoadRules();
    EXPECT_FALSE(std::filesystem::exists(k.path)) << "loading must not create the file";
    EXPECT_EQ((std::vector<int>{k.newNumber.selected, k.newApplication.selected, k.infected.selected,
                                k.suspicious.selected, k.autoStart.selected}),
              (std::vector<int>{1, 0, 1, 1, 0}));
    EXPECT_EQ(k.editor.Tag(), 1);

    // Two rows of one path and two of one number are stored as one entry each, the last row's.
    k.applications.rows = {{"Alt", {"c:\\web\\surf.exe", "0A0B0C0D"}}, {"Post", {"c:\\post.exe", "FFFFFFFF"}},
                           {"Web", {"c:\\web\\surf.exe", "11223344"}}};
    k.numbers.rows = {{"Büro", {"49 30 1234"}}, {"", {"49 30 1234"}}, {"Netz", {"49 191 011"}}};
    k.infected.Select(3);
    k.autoStart.Select(1);
    k.editor.SaveRules();
    EXPECT_EQ(k.Keys("Generell"),
              (Names{"Neue Nummer", "Neue Anwendung", "Infizierte Anwendung", "Verdächtige Anwendung", "AutoStart"}));
    EXPECT_EQ(k.settings.ReadString("Anwendungen", "c:\\web\\surf.exe", ""), "Web|c:\\web\\surf.exe|11223344");
    EXPECT_EQ(k.settings.ReadString("Verbindungen", "49 30 1234", ""), "|49 30 1234");
    EXPECT_EQ(k.startValue.calls, (Names{"remove"}));

    // A value without bars, or with more than its bars, splits as the lists show it.
    k.settings.WriteString("Verbindungen", "0190 1", "ohne Striche");
    k.settings.WriteString("Anwendungen", "c:\\x.exe", "X|c:\\x.exe|AB|CD");
    k.editor.LoadRules();
    EXPECT_EQ(k.applications.rows, (Rows{{"Web", {"c:\\web\\surf.exe", "11223344"}},
                                         {"Post", {"c:\\post.exe", "FFFFFFFF"}},
                                         {"X", {"c:\\x.exe", "AB|CD"}}}));
    EXPECT_EQ(k.numbers.rows, (Rows{{"", {"49 30 1234"}}, {"Netz", {"49 191 011"}}, {"", {"ohne Striche"}}}));
    EXPECT_EQ((std::vector<int>{k.infected.selected, k.autoStart.selected}), (std::vector<int>{3, 1}));

    // A value no line stands for shows as no selection and is kept; the registry is then left alone.
    k.settings.WriteInteger("Generell", "AutoStart", 7);
    k.editor.LoadRules();
    EXPECT_EQ(k.autoStart.selected, -1);
    k.autoStart.Select(0);
    k.editor.SaveRules();
    k.autoStart.selected = -1;
    k.editor.SaveRules();
    EXPECT_EQ(k.startValue.calls, (Names{"remove", "write \"C:\\Programme\\VUR\\fast.exe\""}));
    EXPECT_EQ(k.settings.ReadString("Generell", "AutoStart", ""), "-1");
}

TEST(RuleEditor, EditsSaveOnlyWhileTheSwitchIsOn) {
    Konfigurator k;
    k.editor.LoadRules();
    k.numbers.rows = {{"Büro", {"49 30 1234"}}};
    k.editor.ChoiceChanged();
    ASSERT_EQ(k.Keys("Verbindungen"), (Names{"49 30 1234"}));

    // While an add dialog is open the dialog's row and any change event stay unsaved; its end saves.
    k.editor.BeginAdd();
    EXPECT_EQ(k.editor.Tag(), 0);
    k.numbers.rows.push_back({"Neu", {"49 40 5678"}});
    k.editor.RowTextChanged();
    k.editor.ChoiceChanged();
    EXPECT_EQ(k.Keys("Verbindungen"), (Names{"49 30 1234"}));
    k.editor.EndAdd();
    EXPECT_EQ(k.Keys("Verbindungen"), (Names{"49 30 1234", "49 40 5678"}));
    EXPECT_EQ(k.editor.Tag(), 1);

    // A rename in place keeps the key.
    k.numbers.rows[0].caption = "Zentrale";
    k.editor.RowEdited();
    EXPECT_EQ(k.settings.ReadString("Verbindungen", "49 30 1234", ""), "Zentrale|49 30 1234");

    // "Entfernen" without a selection changes nothing; with one it removes that row and saves.
    const std::string before = k.File();
    k.editor.RemoveSelected(k.numbers);
    EXPECT_EQ(k.File(), before);
    EXPECT_EQ(k.numbers.rows.size(), 2u);
    k.numbers.selected = 0;
    k.editor.RemoveSelected(k.numbers);
    EXPECT_EQ(k.numbers.rows, (Rows{{"Neu", {"49 40 5678"}}}));
    EXPECT_EQ(k.Keys("Verbindungen"), (Names{"49 40 5678"}));
    EXPECT_EQ(k.editor.Tag(), 1);
}

TEST(RuleEditor, EntriesTheMonitorWroteMeanwhileSurviveASave) {
    Konfigurator k;
    k.applications.rows = {{"Web", {"c:\\web.exe", "11111111"}}, {"Mail", {"c:\\mail.exe", "22222222"}},
                           {"Alt", {"c:\\alt.exe", "33333333"}}};
    k.editor.SaveRules();
    k.editor.LoadRules();

    // The monitor, on the user's Yes: a new program, and a new checksum for two programs already allowed.
    vur::TSECURITYINI monitor(k.path, kOwner, kProduct);
    monitor.WriteString("Anwendungen", "c:\\neu.exe", "c:\\neu.exe|c:\\neu.exe|44444444");
    monitor.WriteString("Anwendungen", "c:\\web.exe", "c:\\web.exe|c:\\web.exe|55555555");
    monitor.WriteString("Anwendungen", "c:\\mail.exe", "c:\\mail.exe|c:\\mail.exe|66666666");
    monitor.WriteString("Verbindungen", "49 190 1", "49 190 1|49 190 1");
    // Meanwhile the user renamed the mail row and removed the last one.
    k.applications.rows[1].caption = "Post";
    k.applications.rows.pop_back();
    k.editor.SaveRules();

    const Rows expected{{"c:\\web.exe", {"c:\\web.exe", "55555555"}}, {"Post", {"c:\\mail.exe", "66666666"}},
                        {"c:\\neu.exe", {"c:\\neu.exe", "44444444"}}};
    EXPECT_EQ(k.applications.rows, expected) << "the window shows what the monitor added";
    EXPECT_EQ(k.numbers.rows, (Rows{{"49 190 1", {"49 190 1"}}}));
    EXPECT_EQ(k.Keys("Anwendungen"), (Names{"c:\\web.exe", "c:\\mail.exe", "c:\\neu.exe"}));
    EXPECT_EQ(k.settings.ReadString("Anwendungen", "c:\\mail.exe", ""), "Post|c:\\mail.exe|66666666")
        << "the rename keeps the checksum the monitor stored meanwhile";

    // What the user removes after it was kept stays removed.
    k.applications.rows.pop_back();
    k.editor.SaveRules();
    EXPECT_EQ(k.Keys("Anwendungen"), (Names{"c:\\web.exe", "c:\\mail.exe"}));
}

TEST(RuleEditor, AnEntryAnotherProcessWritesWhileTheSaveRunsIsKept) {
    Konfigurator k;
    k.applications.rows = {{"Mail", {"c:\\mail.exe", "22222222"}}};
    k.editor.SaveRules();
    k.editor.LoadRules();

    // The monitor in a process of its own, allowing a program as soon as it is told to.
    int go[2], done[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t monitor = fork();
    ASSERT_GE(monitor, 0);
    if (monitor == 0) {
        char c;
        int rc = 1;
        if (read(go[0], &c, 1) == 1) {
            try {
                vur::TSECURITYINI settings(k.path, kOwner, kProduct);
                settings.WriteString("Anwendungen", "c:\\neu.exe", "c:\\neu.exe|c:\\neu.exe|44444444");
                rc = 0;
            } catch (...) {
            }
        }
        (void)!write(done[1], "x", 1);
        _exit(rc);
    }
    // It is told once the save has begun reading the window's rows, and may take half a second.
    bool doneDuringSave = false;
    k.applications.onRead = [&] {
        (void)!write(go[1], "x", 1);
        pollfd finished{done[0], POLLIN, 0};
        doneDuringSave = poll(&finished, 1, 500) == 1;
    };
    k.applications.rows[0].caption = "Post";
    k.editor.SaveRules();
    pollfd finished{done[0], POLLIN, 0};
    EXPECT_EQ(poll(&finished, 1, 15000), 1);
    int status = -1;
    ASSERT_EQ(waitpid(monitor, &status, 0), monitor);
    for (int fd : {go[0], go[1], done[0], done[1]}) close(fd);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the monitor's write succeeded";
    EXPECT_FALSE(doneDuringSave) << "the monitor waits while the save holds the file";

    EXPECT_EQ(k.settings.ReadString("Anwendungen", "c:\\neu.exe", ""), "c:\\neu.exe|c:\\neu.exe|44444444");
    k.editor.SaveRules();
    EXPECT_EQ(k.Keys("Anwendungen"), (Names{"c:\\mail.exe", "c:\\neu.exe"}));
    EXPECT_EQ(k.settings.ReadString("Anwendungen", "c:\\mail.exe", ""), "Post|c:\\mail.exe|22222222");
}

TEST(RuleEditor, NoInputLetsABarIntoAName) {
    namespace c = vur::configurator;
    Konfigurator k;
    const Rows numbers{{"Büro", {"49 30 1234"}}};
    k.numbers.rows = numbers;
    k.editor.SaveRules();
    const std::string saved = k.File();
    const auto refused = [](const c::AddOutcome& outcome) {
        return !outcome.added && outcome.text && std::string(outcome.text) == "Der Name darf kein | enthalten." &&
               outcome.caption && std::string(outcome.caption) == "Ungültiger Name";
    };

    // Add number: refused with the hint even with the number missing; an empty field is ignored silently;
    // a bar in the number ends the value and is kept.
    EXPECT_TRUE(refused(c::AddNumber(k.numbers, "Bü|ro", "49 30 5")));
    EXPECT_TRUE(refused(c::AddNumber(k.numbers, "|", "")));
    const c::AddOutcome empty = c::AddNumber(k.numbers, "", "49 30 5");
    EXPECT_TRUE(!empty.added && !empty.text);
    EXPECT_EQ(k.numbers.rows, numbers);
    EXPECT_TRUE(c::AddNumber(k.numbers, "Strich", "49 30 5|6").added);

    // Add application: the name is checked before the file; then a missing file, then the row.
    FakeFiles files;
    files.keys["C:\\TOOL~1.EXE"] = "c:\\tool.exe";
    EXPECT_TRUE(refused(c::AddApplication(k.applications, "Mein|Tool", "C:\\fehlt.exe", files)));
    EXPECT_TRUE(refused(c::AddApplication(k.applications, "Mein|Tool", "C:\\TOOL~1.EXE", files)));
    const c::AddOutcome missing = c::AddApplication(k.applications, "Mein Tool", "C:\\fehlt.exe", files);
    EXPECT_TRUE(!missing.added && missing.text &&
                std::string(missing.text) == "Die angegebene Datei konnte nicht gefunden werden!" &&
                std::string(missing.caption) == "Datei nicht gefunden");
    EXPECT_TRUE(k.applications.rows.empty());
    EXPECT_TRUE(c::AddApplication(k.applications, "Mein Tool", "C:\\TOOL~1.EXE", files).added);
    EXPECT_EQ(k.applications.rows, (Rows{{"Mein Tool", {"c:\\tool.exe", "CRC(c:\\tool.exe)"}}}));
    k.applications.rows.clear();
    k.numbers.rows = numbers;

    // In place: a name with a bar leaves the row and the file as they were; another one is saved.
    EXPECT_STREQ(k.editor.Rename(k.numbers, 0, "Zen|trale"), "Der Name darf kein | enthalten.");
    EXPECT_EQ(k.numbers.rows, numbers);
    EXPECT_EQ(k.File(), saved);
    EXPECT_EQ(k.editor.Rename(k.numbers, 0, "Zentrale"), nullptr);
    EXPECT_EQ(k.settings.ReadString("Verbindungen", "49 30 1234", ""), "Zentrale|49 30 1234");
}

TEST(RuleEditor, AnUnreadableFileIsToldOnceAndNeverOverwritten) {
    Konfigurator k;
    const std::string good = "[" + vur::SealString(kOwner, "Verbindungen") + "]\r\n";
    const std::string damaged = good + vur::SealString(kOwner, "49 30 1") + "=abcde\r\n";
    k.dir.Write("vur.conf", damaged);
    EXPECT_THROW(k.editor.LoadRules(), vur::EBase64Error);
    EXPECT_EQ(k.editor.Tag(), 1) << "the window stays usable";
    EXPECT_NO_THROW(k.editor.LoadRules()) << "a page switch does not tell it again";
    k.editor.ChoiceChanged();
    k.editor.SaveRules();
    EXPECT_EQ(k.File(), damaged);
    EXPECT_TRUE(k.startValue.calls.empty());

    // Once the file reads again, saving works again; a file damaged after a good load is told by the save.
    k.dir.Write("vur.conf", good);
    k.editor.LoadRules();
    k.editor.SaveRules();
    EXPECT_EQ(k.Keys("Generell").size(), 5u);
    const std::string later = k.File() + vur::SealString(kOwner, "Anwendungen").insert(0, "[") + "]\r\nabc=d\r\n";
    k.dir.Write("vur.conf", later);
    EXPECT_THROW(k.editor.SaveRules(), vur::EBase64Error);
    EXPECT_NO_THROW(k.editor.SaveRules());
    EXPECT_EQ(k.File(), later);
}
