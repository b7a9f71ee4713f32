// Ending a held process on the running system: when Terminate returns, the process has ended, so that the
// question after it is true and its program file can be isolated.
#include "monitor/application_system_win32.h"
#include "monitor/monitor_engines_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ApplicationSystemWin32, TerminateReturnsOnceTheProcessHasEnded) {
    char notepad[MAX_PATH];
    const UINT length = GetSystemDirectoryA(notepad, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH - 20);
    lstrcatA(notepad, "\\notepad.exe");
    if (GetFileAttributesA(notepad) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no " << notepad;
    vur::monitor::MonitorEngines engines;
    vur::monitor::Win32ApplicationSystem system(
        engines, "C:\\", [](const std::string&, const std::string&, unsigned) { return IDNO; }, [] { return true; },
        [](const std::string&) {});
    for (int round = 0; round < 3; ++round) {
        // A program that is up and running, with its window, as a dialer is when the watch finds it.
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINNOACTIVE;
        PROCESS_INFORMATION info{};
        char command[] = "notepad.exe";
        ASSERT_TRUE(CreateProcessA(notepad, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
        WaitForInputIdle(info.hProcess, 10000);
        ASSERT_EQ(WaitForSingleObject(info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        const auto held = system.Hold(info.dwProcessId);
        system.Terminate(*held);
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "round " << round;
        TerminateProcess(info.hProcess, 0);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    const auto nothing = system.Hold(0xFFFFFFF0u); // no such process: nothing happens, nothing waits
    system.Terminate(*nothing);
}
