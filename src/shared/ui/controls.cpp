// The simple control wrappers: creation with the standard font, and their notifications.
#include "shared/ui/controls.h"

#include <commctrl.h>

#include "shared/errors.h"
#include "shared/ui/fonts.h"
#include "shared/ui/window.h"

namespace vur::ui {

void Control::Create(Window& parent, const char* className, const std::string& text, DWORD style, int left, int top,
                     int width, int height, DWORD exStyle) {
    static int nextId = 1000;
    id_ = nextId++;
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, left, top, width,
                                  height, parent.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) throw EVurError(std::string("Control could not be created: ") + className);
    Attach(window);
    SetFont(FontStyle::Normal);
}

void Label::Create(Window& parent, const std::string& text, int left, int top, int width, int height, bool wrap,
                   Align align, bool clickable) {
    DWORD style = align == Align::Right ? SS_RIGHT : (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    if (clickable) style |= SS_NOTIFY;
    Control::Create(parent, "STATIC", text, style | SS_NOPREFIX, left, top, width, height);
}

void Label::OnCommand(WORD code) {
    if (code == STN_CLICKED && onClick) onClick();
}

void LinkLabel::Create(Window& parent, const std::string& text, int left, int top, int width, int height) {
    Label::Create(parent, text, left, top, width, height, false, Align::Right, true);
    SetFont(FontStyle::BoldUnderline);
    SetTextColor(kLinkRed);
    SetCursor(HandCursor());
}

void Button::Create(Window& parent, const std::string& text, int left, int top, int width, int height,
                    bool isDefault) {
    Control::Create(parent, "BUTTON", text, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), left, top,
                    width, height);
    if (isDefault) parent.SetDefaultId(Id());
}

void Button::OnCommand(WORD code) {
    if (code == BN_CLICKED && onClick) onClick();
}

void CheckBox::Create(Window& parent, const std::string& text, int left, int top, int width, int height) {
    Control::Create(parent, "BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX, left, top, width, height);
}

bool CheckBox::Checked() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (onClick) onClick();
}

void CheckBox::OnCommand(WORD code) {
    if (code == BN_CLICKED && onClick) onClick();
}

void Edit::Create(Window& parent, int left, int top, int width, int height) {
    Control::Create(parent, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, left, top, width, height, WS_EX_CLIENTEDGE);
}

void Frame::Create(Window& parent, const std::string& caption, int left, int top, int width, int height) {
    Control::Create(parent, "BUTTON", caption, BS_GROUPBOX, left, top, width, height);
    // A group box draws only its line and caption: what lies inside is the parent's background, which the
    // parent paints only where it does not clip its children.
    const LONG style = GetWindowLongA(parent.hwnd(), GWL_STYLE);
    SetWindowLongA(parent.hwnd(), GWL_STYLE, style & ~WS_CLIPCHILDREN);
}

namespace {
// The window of a combo box includes its open list; this shows every line the forms have.
constexpr int kDroppedListHeight = 200;
} // namespace

void DropDownList::Create(Window& parent, int left, int top, int width, int height) {
    Control::Create(parent, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, left, top, width,
                    height + kDroppedListHeight);
}

void DropDownList::Place(int left, int top, int width, int height) {
    SetBounds(left, top, width, height + kDroppedListHeight);
}

void DropDownList::AddLine(const std::string& text) {
    SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int DropDownList::Selected() const { return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }
void DropDownList::Select(int index) { SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void DropDownList::OnCommand(WORD code) {
    if (code == CBN_SELCHANGE && onChange) onChange();
}

void ProgressBar::Create(Window& parent, int left, int top, int width, int height) {
    Control::Create(parent, PROGRESS_CLASSA, "", 0, left, top, width, height);
}

// PBM_SETRANGE takes 16-bit limits, the only form comctl32 of Windows 95 and NT 4 knows: larger ranges (a
// download's byte count) are scaled onto 0..65535.
void ProgressBar::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    span_ = maximum > minimum ? static_cast<long long>(maximum) - minimum : 1;
    SendMessageA(hwnd_, PBM_SETRANGE, 0, MAKELPARAM(0, span_ > 0xFFFF ? 0xFFFF : span_));
    SetPosition(position_);
}

void ProgressBar::SetPosition(int position) {
    position_ = position;
    long long offset = static_cast<long long>(position) - minimum_;
    if (offset < 0) offset = 0;
    if (offset > span_) offset = span_;
    long long shown = span_ > 0xFFFF ? offset * 0xFFFF / span_ : offset;
    SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(shown), 0);
}

} // namespace vur::ui
