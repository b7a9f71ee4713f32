// The admin tool's output on Windows: converted to the OEM code page for a console, the ANSI bytes as they
// are for a file.
#include "console_text_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(ConsoleTextWin32, OemForAConsoleAnsiForAFile) {
    const std::string ansi = "Verd\xE4" "chtige Pr\xFC" "fung \xDF";

    char temp[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    ASSERT_NE(GetTempFileNameA(temp, "vco", 0, name), 0u);
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(vurconf::AnsiToOutput(file, ansi), ansi);
    CloseHandle(file);
    DeleteFileA(name);
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_EQ(vurconf::AnsiToOutput(writeEnd, ansi), ansi);
    CloseHandle(readEnd);
    CloseHandle(writeEnd);

    // A redirected runner gets a console of its own for the test (Wine attaches it to one it cannot open).
    bool made = false;
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_CHAR) {
        FreeConsole();
        made = AllocConsole() != FALSE;
    }
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE || GetFileType(console) != FILE_TYPE_CHAR) {
        if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
        if (made) FreeConsole();
        GTEST_SKIP() << "no console can be opened here";
    }
    const std::string shown = vurconf::AnsiToOutput(console, ansi);
    CloseHandle(console);
    if (made) FreeConsole();
    const UINT oem = GetOEMCP();
    if (oem == 437 || oem == 850) // the umlauts and the sharp s sit at the same places in both
        EXPECT_EQ(shown, "Verd\x84" "chtige Pr\x81" "fung \xE1");
    else
        EXPECT_NE(shown, ansi) << "OEM code page " << oem;
}
