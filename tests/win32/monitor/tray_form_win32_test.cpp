// The tray form in this process: its menu, its random names, and close requests.
#include "monitor/tray_form_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

namespace {

std::string ItemText(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

} // namespace

TEST(TrayFormWin32, MenuHasTheFiveItemsInOrderWithTheFirstAsDefault) {
    vur::monitor::TForm1 tray(GetModuleHandleA(nullptr));
    HMENU task = tray.Task();
    ASSERT_NE(task, nullptr);
    ASSERT_EQ(GetMenuItemCount(task), 5);
    const char* expected[] = {"Startcenter starten", "Einstellungen ändern", "Quarantäne starten",
                              "Scanner starten", "Nach Updates suchen"};
    for (UINT i = 0; i < 5; ++i) EXPECT_EQ(ItemText(task, i), expected[i]) << i;
    EXPECT_EQ(GetMenuDefaultItem(task, TRUE, 0), 0u);
}

TEST(TrayFormWin32, CaptionAndNameAreSeparateRandomCapitalWords) {
    vur::monitor::TForm1 tray(GetModuleHandleA(nullptr));
    char caption[128] = {};
    GetWindowTextA(tray.hwnd(), caption, sizeof caption);
    const std::regex word("[A-Z]{2,101}");
    EXPECT_TRUE(std::regex_match(std::string(caption), word)) << caption;
    EXPECT_TRUE(std::regex_match(tray.Name(), word)) << tray.Name();
    EXPECT_NE(tray.Name(), caption);
    EXPECT_FALSE(IsWindowVisible(tray.hwnd()));
}

TEST(TrayFormWin32, CloseRequestsAreRefused) {
    vur::monitor::TForm1 tray(GetModuleHandleA(nullptr));
    SendMessageA(tray.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(tray.hwnd()));
}
