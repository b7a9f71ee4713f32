// TMagRasCon bound through LoadLibrary to the stand-in RASAPI32.DLL beside this program, in the record
// layout of the Windows version Wine reports, and the Windows table's loader.
#include "monitor/magrascon.h"
#include "monitor/magrascon_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using namespace vur;
using namespace vur::monitor;

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own(path, n);
    return own.substr(0, own.find_last_of('\\') + 1);
}

// The stand-in lies beside the test program, not in the system folder. Wine would replace a library named
// RASAPI32.DLL by its own stub unless told otherwise at start, so a copy under another name is loaded. The
// runner runs in several prefixes at once, whose process ids may be the same: the name is made unique on disk.
const std::string& CopyPath() {
    static const std::string path = [] {
        char unique[MAX_PATH];
        if (GetTempFileNameA(OwnFolder().c_str(), "vrs", 0, unique) == 0) return std::string();
        CopyFileA((OwnFolder() + "rasapi32.dll").c_str(), unique, FALSE);
        return std::string(unique);
    }();
    return path;
}

TModuleHandle LoadBesideUs(const char* fileName) {
    if (lstrcmpiA(fileName, "RASAPI32.DLL") != 0 || CopyPath().empty()) return nullptr;
    return LoadLibraryA(CopyPath().c_str());
}

// Every binding has freed the copy by the time the program ends.
struct RemoveCopy {
    ~RemoveCopy() {
        if (!CopyPath().empty()) DeleteFileA(CopyPath().c_str());
    }
} gRemoveCopy;

TRasSystem StandInSystem() {
    TRasSystem system = Win32RasSystem();
    system.LoadSystemLibrary = LoadBesideUs;
    return system;
}

std::string ReadFile(const std::string& path) {
    std::string text;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return text;
    char chunk[1024];
    DWORD got = 0;
    while (::ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(h);
    return text;
}

void WriteFile(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

// A scenario file of this process's own, named to the stand-in through its environment variable.
class StandInScenario {
  public:
    explicit StandInScenario(const std::string& text) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "vur-ras-" + std::to_string(GetCurrentProcessId()) + ".scenario";
        DeleteFileA((path_ + ".log").c_str());
        WriteFile(path_, text);
        SetEnvironmentVariableA("VUR_RAS_SCENARIO", path_.c_str());
    }
    ~StandInScenario() {
        DeleteFileA(path_.c_str());
        DeleteFileA((path_ + ".log").c_str());
    }
    std::string Log() const { return ReadFile(path_ + ".log"); }

  private:
    std::string path_;
};

TEST(MagRasConStandIn, ConnectionEntryAndHangUpInTheRunningLayout) {
    StandInScenario scenario("connection|4097|Dialer|0|300|8192\n"
                             "connection|4098|Zweite|1|never\n"
                             "entry|Dialer|49|0190|123456\n");
    const TRasSystem system = StandInSystem();
    TRasBinding binding(system);
    HWND window =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    TMagRasCon mag(binding, window);

    // The stand-in refuses records of another class's size, so a list means both agree on the layout.
    ASSERT_EQ(mag.RefreshConnections(), 0u);
    ASSERT_EQ(mag.Count(), 2);
    EXPECT_TRUE(mag.ConnectionsChanged());
    EXPECT_EQ(mag.ConnectionHandle(1), 4098u);
    EXPECT_EQ(mag.ConnectionEntryName(1), "Zweite");
    EXPECT_EQ(mag.ConnectionSubEntry(1), binding.SystemClass() == TSystemClass::Win9x ? 0u : 1u);

    mag.SetEntryName(mag.ConnectionEntryName(0));
    ASSERT_EQ(mag.ReadEntryProperties(), 0u);
    EXPECT_EQ(mag.CountryCode(), 49u);
    EXPECT_EQ(mag.AreaCode(), "0190");
    EXPECT_EQ(mag.LocalPhoneNumber(), "123456");
    mag.SetEntryName("Zweite");
    EXPECT_EQ(mag.ReadEntryProperties(), 623u);
    EXPECT_EQ(mag.AreaCode(), "0190");

    int changed = 0;
    std::vector<int32_t> delivered;
    mag.OnStateChanged = [&](TMagRasCon&) { ++changed; };
    mag.OnStateEvent = [&](TMagRasCon&, const TRasStateRec& r) { delivered.push_back(r.State); };
    const DWORD start = GetTickCount();
    EXPECT_EQ(mag.HangUpAndWait(4097, 0, 3000, true), 0u);
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 2500u);
    EXPECT_EQ(changed, 2); // 8192 while dropping, then gone (601)
    EXPECT_EQ(mag.CurrentStatus().State, 601);

    // The posted records wait in the queue until the owner's window procedure hands them back.
    MSG msg;
    while (PeekMessageA(&msg, window, TMagRasCon::kStateMessage, TMagRasCon::kStateMessage, PM_REMOVE))
        mag.DeliverStateMessage(static_cast<uint32_t>(msg.wParam));
    EXPECT_EQ(delivered, (std::vector<int32_t>{8192, 601}));

    mag.RefreshConnections();
    EXPECT_EQ(mag.Count(), 1);
    EXPECT_EQ(mag.ConnectionHandle(0), 4098u);
    EXPECT_NE(scenario.Log().find("hangup 4097"), std::string::npos);
    DestroyWindow(window);
}

TEST(MagRasConStandIn, NeverDroppingLineReturnsAfterTheTimeout) {
    StandInScenario scenario("connection|4099|Klebt|0|never|8192\n");
    const TRasSystem system = StandInSystem();
    TRasBinding binding(system);
    TMagRasCon mag(binding, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(mag.HangUpAndWait(4099, 0, 1000, false), 0u);
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 1800u);
    EXPECT_EQ(mag.CurrentStatus().State, 8192);
}

TEST(MagRasConWin32Table, LibrariesComeFromTheSystemLoader) {
    // The loader itself (system folder only) is tested with the shared code; here only that the table uses it.
    TModuleHandle kernel = Win32RasSystem().LoadSystemLibrary("KERNEL32.DLL");
    EXPECT_EQ(kernel, static_cast<TModuleHandle>(GetModuleHandleA("kernel32.dll")));
    EXPECT_NE(Win32RasSystem().GetProcAddress(kernel, "GetTickCount"), nullptr);
    Win32RasSystem().FreeLibrary(kernel);
}

} // namespace
