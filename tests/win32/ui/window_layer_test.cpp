// The window layer under Wine: the general error box at the handler boundary, event dispatch to the controls.
#include "shared/errors.h"
#include "shared/ui/application.h"
#include "shared/ui/controls.h"
#include "shared/ui/lists.h"
#include "shared/ui/rich_text.h"
#include "shared/ui/window.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using namespace vur::ui;

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kCount = WM_APP + 2;

// A window whose handler throws on kThrow and counts kCount, to see that it goes on after an error.
class Thrower : public Window {
public:
    int counted = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow && wParam) throw 42; // not a std::exception
        if (message == kThrow) throw vur::EVurError("Base64: Incorrect string format");
        if (message == kCount) return ++counted;
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// What the timer saw of the message box it closed.
struct SeenBox {
    std::string caption, text;
    int boxes = 0;
} seen;

BOOL CALLBACK ReadStatic(HWND child, LPARAM) {
    char text[512] = {};
    char kind[32] = {};
    GetClassNameA(child, kind, sizeof kind);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(kind, "Static") == 0 && text[0]) seen.text = text;
    return TRUE;
}

BOOL CALLBACK CloseBoxOfThisThread(HWND window, LPARAM) {
    char kind[32] = {};
    GetClassNameA(window, kind, sizeof kind);
    if (lstrcmpA(kind, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    seen.caption = caption;
    EnumChildWindows(window, ReadStatic, 0);
    ++seen.boxes;
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

// Runs inside the message box's own modal loop, so the test thread can answer its own box.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), CloseBoxOfThisThread, 0); }

TEST(WindowLayer, ExceptionInAHandlerIsShownAndTheWindowGoesOn) {
    InitApplication("VUR 3.5 Test");
    seen = SeenBox{};
    Thrower window;
    window.CreateForm("Werfer", 200, 100);
    UINT_PTR timer = SetTimer(nullptr, 0, 200, AnswerBox);
    LRESULT result = SendMessageA(window.hwnd(), kThrow, 0, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(seen.boxes, 1);
    EXPECT_EQ(seen.caption, "VUR 3.5 Test");
    EXPECT_EQ(seen.text, "Base64: Incorrect string format");
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_EQ(SendMessageA(window.hwnd(), kCount, 0, 0), 1) << "the window handles messages after the error";

    // Anything else thrown gets the box too, with the German text for an unknown error.
    timer = SetTimer(nullptr, 0, 200, AnswerBox);
    SendMessageA(window.hwnd(), kThrow, 1, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.boxes, 2);
    EXPECT_EQ(seen.text, "Unbekannter Fehler");
    EXPECT_EQ(SendMessageA(window.hwnd(), kCount, 0, 0), 2);
}

TEST(WindowLayer, ControlEventsReachTheirHandlers) {
    InitApplication("VUR 3.5 Test");
    Window form;
    form.CreateForm("Formular", 300, 200);
    Panel panel;
    panel.CreateChild(form, 0, 0, 300, 100);
    Button button;
    button.Create(panel, "Scannen", 8, 8, 100, 25, true);
    CheckBox box;
    box.Create(form, "Dialer nur melden", 8, 120, 150, 17);
    int clicks = 0, ticks = 0;
    button.onClick = [&] { ++clicks; };
    box.onClick = [&] { ++ticks; };

    SendMessageA(button.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1) << "a button on a panel reports through the panel";
    SendMessageA(box.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(box.Checked());
    box.SetChecked(true); // unchanged: no click
    box.SetChecked(false);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(LOWORD(SendMessageA(panel.hwnd(), DM_GETDEFID, 0, 0)), button.Id());
    EXPECT_EQ(button.Text(), "Scannen");
}

TEST(WindowLayer, PanelClickNeedsPressAndReleaseInside) {
    Window form;
    form.CreateForm("Formular", 300, 200);
    Panel tile;
    tile.CreateChild(form, 10, 10, 100, 50);
    int clicks = 0;
    tile.onClick = [&] { ++clicks; };
    SendMessageA(tile.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(tile.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(tile.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(6, 6)); // a release without a press
    SendMessageA(tile.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(tile.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(150, 5)); // released outside
    EXPECT_EQ(clicks, 1);
}

TEST(WindowLayer, ListViewRowsAndProgressScaling) {
    InitApplication("VUR 3.5 Test");
    Window form;
    form.CreateForm("Formular", 400, 300);
    ListView list;
    list.Create(form, 0, 0, 400, 200, true);
    list.AddColumn("Name", 150);
    list.AddColumn("Anwendung", 150);
    list.AddColumn("CRC32", 70);
    list.AddRow("Editor", {"c:\\windows\\notepad.exe", "0A1B2C3D"});
    list.AddRow("Rechner", {"c:\\windows\\calc.exe", "FFFFFFFF"});
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Cell(1, 0), "Rechner");
    EXPECT_EQ(list.Cell(0, 2), "0A1B2C3D");
    EXPECT_EQ(list.Selected(), -1);
    list.Delete(0);
    EXPECT_EQ(list.Cell(0, 1), "c:\\windows\\calc.exe");

    ProgressBar bar;
    bar.Create(form, 0, 210, 400, 16);
    bar.SetRange(0, 1000000); // a download larger than the control's 16-bit range
    bar.SetPosition(500000);
    EXPECT_NEAR(static_cast<double>(SendMessageA(bar.hwnd(), PBM_GETPOS, 0, 0)), 0xFFFF / 2.0, 1.0);
    bar.SetPosition(2000000);
    EXPECT_EQ(SendMessageA(bar.hwnd(), PBM_GETPOS, 0, 0), 0xFFFF);
}

// The page's own visibility; the form itself is never shown in these tests.
bool Shown(const Window& page) { return (GetWindowLongA(page.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

TEST(WindowLayer, TabPagesShowOnlyTheSelectedPage) {
    InitApplication("VUR 3.5 Test");
    Window form;
    form.CreateForm("Formular", 400, 300, true);
    TabPages tabs;
    tabs.Create(form, 8, 8, 384, 284);
    Window& general = tabs.AddPage("Allgemeine Eintellungen");
    Window& numbers = tabs.AddPage("Erlaubte Verbindungen");
    EXPECT_TRUE(Shown(general));
    EXPECT_FALSE(Shown(numbers));
    tabs.Select(1);
    EXPECT_FALSE(Shown(general));
    EXPECT_TRUE(Shown(numbers));
    RECT page;
    GetWindowRect(numbers.hwnd(), &page);
    RECT tab;
    GetWindowRect(tabs.hwnd(), &tab);
    EXPECT_TRUE(page.left > tab.left && page.top > tab.top + 10 && page.right < tab.right && page.bottom < tab.bottom)
        << "the page lies inside the tab control, below the tabs";
}

TEST(WindowLayer, LabelsTakeTheirPanelsBackgroundAndTheirOwnTextColour) {
    Window form;
    form.CreateForm("Formular", 300, 200);
    Panel panel;
    panel.CreateChild(form, 0, 0, 300, 100);
    panel.SetBackground(RGB(186, 204, 173));
    Label link;
    link.Create(panel, "Ich brauche Hilfe!", 8, 8, 100, 13, false, Align::Right, true);
    link.SetTextColor(kLinkRed);
    HDC dc = GetDC(link.hwnd());
    LRESULT brush = SendMessageA(panel.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(link.hwnd()));
    EXPECT_EQ(GetBkColor(dc), RGB(186, 204, 173));
    EXPECT_EQ(GetTextColor(dc), kLinkRed);
    LOGBRUSH fill{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof fill, &fill);
    EXPECT_EQ(fill.lbColor, RGB(186, 204, 173));
    ReleaseDC(link.hwnd(), dc);
}

TEST(WindowLayer, TimerFiresOnlyWhileEnabled) {
    Window form;
    form.CreateForm("Formular", 100, 100);
    Timer timer(form, 20);
    int fired = 0;
    timer.onTimer = [&] {
        if (++fired == 3) timer.Enable(false);
    };
    timer.Enable(true);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        ProcessMessages();
        Sleep(5);
    }
    EXPECT_EQ(fired, 3);
}

TEST(WindowLayer, RichTextKeepsLineColoursInItsRtf) {
    Window form;
    form.CreateForm("Formular", 400, 200);
    RichText report;
    report.Create(form, 0, 0, 400, 200);
    report.AppendLine("0 Dialersignaturen geladen.", RGB(0, 0, 0));
    report.AppendLine("Dialer gefunden", RGB(255, 0, 0));
    std::string rtf = report.Rtf();
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf.find("\\red255\\green0\\blue0"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("Dialer gefunden"), std::string::npos);
    report.Clear();
    EXPECT_EQ(report.Text(), "");
}

TEST(WindowLayer, DropDownListSelectsByIndex) {
    Window form;
    form.CreateForm("Formular", 400, 200);
    DropDownList list;
    list.Create(form, 8, 8, 380, 21);
    list.AddLine("... gemeldet, aber nicht beendet werden.");
    list.AddLine("... sofort beendet werden.");
    EXPECT_EQ(list.Selected(), -1);
    list.Select(1);
    EXPECT_EQ(list.Selected(), 1);
    int changes = 0;
    list.onChange = [&] { ++changes; };
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(list.Id(), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list.hwnd()));
    EXPECT_EQ(changes, 1);
}

// A modal form ends on Escape (its cancel handler), on the close box and on EndModal; it is hidden, not
// destroyed, and its owner is enabled again. A quit message ends it too and stays for the main loop.
TEST(WindowLayer, ModalFormsEndAndGiveTheirOwnerBack) {
    Window owner;
    owner.CreateForm("Hauptfenster", 400, 200);
    Window dialog;
    dialog.CreateForm("Dialog", 200, 100, false, owner.hwnd());
    Edit field;
    field.Create(dialog, 8, 8, 180, 21);
    dialog.FocusOnShow(field);
    int shown = 0, cancelled = 0;
    dialog.onShow = [&] {
        ++shown;
        EXPECT_FALSE(IsWindowVisible(dialog.hwnd())) << "onShow runs before the form appears";
    };
    PostMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(IsWindow(dialog.hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));

    dialog.onCancel = [&] {
        ++cancelled;
        EXPECT_EQ(GetFocus(), field.hwnd()) << "the chosen control has the focus";
        dialog.EndModal(IDOK);
    };
    PostMessageA(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(dialog.ShowModal(), IDOK);
    EXPECT_EQ((std::pair<int, int>{shown, cancelled}), (std::pair<int, int>{2, 1}));

    PostQuitMessage(3);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is left for the main loop";
    EXPECT_EQ(message.wParam, 3u);
}

} // namespace
