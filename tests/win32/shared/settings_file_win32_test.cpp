// The settings file on Windows: writing while the monitor holds it open, writers in two threads and two
// processes losing nothing, changes seen by other objects at once, and this installation's pass phrases.
#include "scratch_folder.h"
#include "shared/disk_ini_file.h"
#include "shared/program_settings.h"
#include "shared/securityunit.h"
#include "shared/winfuncs.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Names = std::vector<std::string>;
const char kChildFile[] = "VUR_TEST_CHILD_FILE";

// The monitor's hold on the file: open for reading with the share mode it uses for as long as it runs.
struct MonitorHold {
    HANDLE h;
    explicit MonitorHold(const std::string& path)
        : h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~MonitorHold() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    std::string ReadThroughHandle() const {
        SetFilePointer(h, 0, nullptr, FILE_BEGIN);
        std::string bytes;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        return bytes;
    }
};

// Any pair of phrases that writer and reader share.
const char kTestOwner[] = "";
const char kTestProduct[] = "12345-test-0000001-54321";

// A value of this system's own key of the current version: the NT family's, or the 9x family's (GetVersion's
// top bit is set on the 9x family only). Read with the plain registry calls, beside the suite's readers.
std::string VersionKeyText(const char* name) {
    const char* key = (GetVersion() & 0x80000000u) == 0 ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                                                         : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return "";
    char text[256] = {};
    DWORD size = sizeof text - 1, type = 0;
    const bool read = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
                          ERROR_SUCCESS && type == REG_SZ;
    RegCloseKey(opened);
    return read ? std::string(text) : "";
}

void WriteSealedEntries(const std::string& path, const std::string& prefix, int count) {
    vur::TSECURITYINI ini(path, kTestOwner, kTestProduct);
    for (int i = 0; i < count; ++i) ini.WriteString("Verbindungen", prefix + std::to_string(i), std::to_string(i));
}

} // namespace

TEST(SettingsFileWin32, WritesWorkWhileTheMonitorHoldsTheFileOpen) {
    ScratchFolder dir;
    const std::string path = dir.Path() + "vur.conf";
    vur::TIniFile config(path);
    for (int i = 0; i < 20; ++i) config.WriteString("Liste", "k" + std::to_string(i), std::string(40, 'x'));
    MonitorHold monitor(path);
    ASSERT_NE(monitor.h, INVALID_HANDLE_VALUE);
    // Growing, shrinking and erasing all go through while the handle stays open.
    config.WriteString("Liste", "k0", std::string(4000, 'y'));
    EXPECT_EQ(config.ReadString("Liste", "k0", "").size(), 4000u);
    config.EraseSection("Liste");
    config.WriteString("Neu", "k", "v");
    EXPECT_EQ(monitor.ReadThroughHandle(), "[Neu]\r\nk=v\r\n");
    vur::TIniFile watch(path);
    EXPECT_EQ(watch.ReadString("Neu", "k", ""), "v");
    // And the monitor can open the file while a settings object is in use.
    MonitorHold second(path);
    EXPECT_NE(second.h, INVALID_HANDLE_VALUE);
}

TEST(SettingsFileWin32, EveryReadSeesAnotherObjectsWriteWithinTheSameSecond) {
    ScratchFolder dir;
    const std::string path = dir.Path() + "vur.conf";
    vur::TIniFile reader(path), writer(path);
    for (int i = 0; i < 100; ++i) {
        const std::string value = "v" + std::to_string(100 + i);
        writer.WriteString("S", "k", value);
        ASSERT_EQ(reader.ReadString("S", "k", ""), value) << i;
    }
}

TEST(SettingsFileWin32, AnEditByAnotherProgramIsSeenWithinTheDelay) {
    ScratchFolder dir;
    vur::TIniFile reader(dir.Path() + "vur.conf");
    dir.Write("vur.conf", "[S]\r\nk=alt\r\n");
    EXPECT_EQ(reader.ReadString("S", "k", ""), "alt");
    dir.Write("vur.conf", "[S]\r\nk=neu\r\n");
    Sleep(vur::kForeignEditDelayMs + 200);
    EXPECT_EQ(reader.ReadString("S", "k", ""), "neu");
}

TEST(SettingsFileWin32, TwoThreadsWritingDifferentKeysLoseNothing) {
    ScratchFolder dir;
    const std::string path = dir.Path() + "vur.conf";
    const int count = 60;
    auto hammer = [&](const std::string& prefix) {
        vur::TIniFile ini(path);
        for (int i = 0; i < count; ++i) ini.WriteString("Liste", prefix + std::to_string(i), std::to_string(i));
    };
    std::thread a(hammer, "a"), b(hammer, "b");
    a.join();
    b.join();
    vur::TIniFile check(path);
    Names keys;
    check.ReadSection("Liste", keys);
    EXPECT_EQ(keys.size(), 2u * count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(check.ReadString("Liste", "a" + std::to_string(i), ""), std::to_string(i));
        EXPECT_EQ(check.ReadString("Liste", "b" + std::to_string(i), ""), std::to_string(i));
    }
}

// The second process of the next test, which names the file in the environment; disabled in normal runs.
TEST(SettingsFileWin32, DISABLED_ChildWriter) {
    const char* path = std::getenv(kChildFile);
    ASSERT_NE(path, nullptr) << "only as the child of TwoProcessesWritingSealedEntriesLoseNothing";
    WriteSealedEntries(path, "49 190 ", 50);
}

TEST(SettingsFileWin32, TwoProcessesWritingSealedEntriesLoseNothing) {
    ScratchFolder dir;
    const std::string path = dir.Path() + "vur.conf";
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    SetEnvironmentVariableA(kChildFile, path.c_str());
    std::string command = "\"" + std::string(self) + "\" --gtest_also_run_disabled_tests --gtest_filter=SettingsFileWin32.DISABLED_ChildWriter";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableA(kChildFile, nullptr);
    ASSERT_TRUE(started);
    WriteSealedEntries(path, "49 900 ", 50);
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(code, 0u);
    vur::TSECURITYINI check(path, kTestOwner, kTestProduct);
    Names keys;
    check.ReadSection("Verbindungen", keys);
    EXPECT_EQ(keys.size(), 100u);
    for (const char* prefix : {"49 190 ", "49 900 "})
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(check.ReadString("Verbindungen", prefix + std::to_string(i), ""), std::to_string(i)) << prefix << i;
}

TEST(WinFuncsWin32, PassPhrasesComeFromTheFamilysKey) {
    // GetVersion's top bit is set on the 9x family only.
    EXPECT_EQ(vur::IsWindowsNT(), (GetVersion() & 0x80000000u) == 0);
    // Every installation has a product id; a registered owner may be missing (as in a fresh Wine prefix).
    const std::string product = VersionKeyText("ProductId"), owner = VersionKeyText("RegisteredOwner");
    ASSERT_NE(product, "");
    EXPECT_EQ(vur::GetProductId(), product);
    EXPECT_EQ(vur::GetRegisteredOwner(), owner);
    const vur::PassPhrases phrases = vur::InstallationPassPhrases();
    EXPECT_EQ(phrases.nameKey, owner);
    EXPECT_EQ(phrases.valueKey, product);
}

TEST(WinFuncsWin32, ProgramSettingsLiveInTheProgramFolder) {
    ScratchFolder dir;
    auto ini = vur::OpenProgramSettings(dir.Path());
    EXPECT_EQ(ini->FileName(), dir.Path() + "vur.conf");
    ini->WriteInteger("Generell", "Neue Nummer", 2);
    vur::TSECURITYINI same(dir.Path() + "vur.conf", VersionKeyText("RegisteredOwner"), VersionKeyText("ProductId"));
    EXPECT_EQ(same.ReadInteger("Generell", "Neue Nummer", 1), 2);
}
