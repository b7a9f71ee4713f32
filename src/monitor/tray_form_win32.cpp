// TForm1: the tray icon, its double click and its menu.
#include "monitor/tray_form_win32.h"

#include "monitor/random_name.h"
#include "shared/module_path_win32.h"
#include "shared/ui/shell.h"

#include <shellapi.h>

#include <cstring>

namespace vur::monitor {

namespace {

// The record size of the first shell version, which every Windows of the suite accepts: 88 bytes, and 104 on
// 64-bit Windows, where the window and icon handles are 8 bytes.
constexpr DWORD kNotifyIconRecordSize = sizeof(void*) == 8 ? 104 : 88;
static_assert(offsetof(NOTIFYICONDATAA, szTip) + 64 == kNotifyIconRecordSize, "notify-icon record layout");

constexpr UINT kIconId = 0;
constexpr int kIconResource = 1;

struct MenuItem {
    const char* caption;
    const char* file;
};
// In menu order; the first is the default item and shows bold.
const MenuItem kTask[] = {
    {"Startcenter starten", "start.exe"},   {"Einstellungen ändern", "config.exe"},
    {"Quarantäne starten", "vault.exe"},    {"Scanner starten", "scanner.exe"},
    {"Nach Updates suchen", "update.exe"},
};
constexpr UINT kFirstCommand = 100;

} // namespace

TForm1::TForm1(HMODULE library) : library_(library) {
    CreateHidden(library, "TForm1", MakeRandomName(), 0, 0);
    FormCreate(library);
}

TForm1::~TForm1() {
    RemoveIcon();
    if (task_) DestroyMenu(task_);
}

void TForm1::FormCreate(HMODULE library) {
    name_ = MakeRandomName();
    LoadLibraryA(vur::ModuleFileName(library).c_str()); // an extra reference that holds the library in its host
    folder_ = vur::ModuleFolder(library);

    icon_ = static_cast<HICON>(LoadImageA(library, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    task_ = CreatePopupMenu();
    for (UINT i = 0; i < sizeof kTask / sizeof kTask[0]; ++i)
        AppendMenuA(task_, MF_STRING, kFirstCommand + i, kTask[i].caption);
    SetMenuDefaultItem(task_, 0, TRUE);

    // Explorer announces a new task bar with this message; the icon is then added again.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    AddIcon();
}

void TForm1::AddIcon() {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kNotifyIconRecordSize;
    data.hWnd = hwnd();
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    std::strncpy(data.szTip, "VUR Version 3.5", sizeof data.szTip - 1);
    iconShown_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void TForm1::RemoveIcon() {
    if (!iconShown_) return;
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kNotifyIconRecordSize;
    data.hWnd = hwnd();
    data.uID = kIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    iconShown_ = false;
}

void TForm1::TrayCallback(LPARAM mouseEvent) {
    if (mouseEvent == WM_LBUTTONDBLCLK)
        StartProgram(kTask[0].file);
    else if (mouseEvent == WM_RBUTTONUP)
        OpenMenu();
}

void TForm1::OpenMenu() {
    SetForegroundWindow(hwnd());
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(task_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    // Lets the menu close when the user clicks elsewhere (the menu needs one more message to its owner).
    PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void TForm1::StartProgram(const char* file) {
    // A missing program shows nothing: the result of the start is not looked at.
    vur::ui::OpenWithShell(hwnd(), folder_ + file, SW_SHOW);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayMessage) {
        TrayCallback(lParam);
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        const UINT index = LOWORD(wParam) - kFirstCommand;
        if (index < sizeof kTask / sizeof kTask[0]) StartProgram(kTask[index].file);
        return 0;
    }
    if (message == WM_CLOSE) return 0; // FormClose: refused, the icon stays
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        AddIcon();
        return 0;
    }
    return vur::ui::Window::HandleMessage(message, wParam, lParam);
}

} // namespace vur::monitor
