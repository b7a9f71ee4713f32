// The quarantine manager's window: components, layout, and the handlers that hand over to the listing and
// the actions.
#include "vault/main_form_win32.h"

#include <algorithm>

#include "shared/module_path_win32.h"
#include "shared/quarantine.h"
#include "shared/ui/application.h"
#include "shared/ui/shell.h"
#include "vault/quarantine_files_win32.h"
#include "vault/vault_texts.h"

namespace vur::vault {

namespace {
constexpr int kClientWidth = 640, kClientHeight = 400;
constexpr int kMargin = 8, kButtonWidth = 110, kButtonHeight = 25;
constexpr int kHelpWidth = 103, kHelpHeight = 13;
// File, folder, reason, date, size; the folder column takes what the others leave.
constexpr int kColumnWidths[] = {130, 0, 150, 105, 70};

SIZE ClientSize(const ui::Widget& widget) {
    RECT client{};
    GetClientRect(widget.hwnd(), &client);
    return SIZE{client.right, client.bottom};
}
} // namespace

void TVault::FormCreate() {
    quarantineFolder_ = ModuleFolder(nullptr) + kQuarantineFolder;
    CreateForm(texts::kApplicationTitle, kClientWidth, kClientHeight, true);
    SetMinimumClientSize(kClientWidth, kClientHeight);
    CreateComponents();
    Layout();
    onResize = [this] { Layout(); };
    onActivate = [this] { Reload(); };
    Reload();
}

void TVault::CreateComponents() {
    Panel1.Create(*this, kClientWidth, texts::kHeadingTitle, texts::kHeadingText);
    List.Create(*this, 0, 0, 100, 100, false, true);
    for (int column = 0; column < static_cast<int>(Column::Count); ++column)
        List.AddColumn(texts::kColumns[column], kColumnWidths[column]);
    List.onSelectionChanged = [this] { UpdateButtons(); };
    List.onColumnClick = [this](int column) { ColumnClick(column); };

    Total.Create(*this, "", 0, 0, 100, kHelpHeight, false);
    RestoreButton.Create(*this, texts::kRestore, 0, 0, kButtonWidth, kButtonHeight);
    RestoreButton.onClick = [this] { RestoreClick(); };
    DeleteButton.Create(*this, texts::kDelete, 0, 0, kButtonWidth, kButtonHeight);
    DeleteButton.onClick = [this] { DeleteClick(); };

    Help.Create(*this, texts::kHelp, 0, 0, kHelpWidth, kHelpHeight);
    Help.onClick = [this] { HelpClick(); };
}

// The heading and the list span the width; the buttons keep to the bottom right with the total beside them,
// the help link below them.
void TVault::Layout() {
    const SIZE client = ClientSize(*this);
    Panel1.Place(client.cx);
    const int helpTop = client.cy - kMargin - kHelpHeight;
    const int buttonsTop = helpTop - kMargin - kButtonHeight;
    const int listTop = ui::Heading::kHeight + kMargin;
    List.SetBounds(kMargin, listTop, client.cx - 2 * kMargin, buttonsTop - kMargin - listTop);
    const int deleteLeft = client.cx - kMargin - kButtonWidth, restoreLeft = deleteLeft - kMargin - kButtonWidth;
    RestoreButton.SetBounds(restoreLeft, buttonsTop, kButtonWidth, kButtonHeight);
    DeleteButton.SetBounds(deleteLeft, buttonsTop, kButtonWidth, kButtonHeight);
    Total.SetBounds(kMargin, buttonsTop + (kButtonHeight - kHelpHeight) / 2, std::max(0, restoreLeft - 2 * kMargin),
                    kHelpHeight);
    Help.SetBounds(client.cx - kMargin - kHelpWidth, helpTop, kHelpWidth, kHelpHeight);

    int fixed = 0;
    for (int width : kColumnWidths) fixed += width;
    List.SetColumnWidth(static_cast<int>(Column::Folder),
                        std::max(80L, ClientSize(List).cx - fixed - GetSystemMetrics(SM_CXVSCROLL)));
}

void TVault::Reload() {
    const QuarantineEntry* selected = SelectedEntry();
    const std::string key = selected ? selected->Key() : std::string();
    listing_ = ListQuarantine(quarantineFolder_, SystemQuarantineFiles());
    SortEntries(listing_.entries, sortColumn_, ascending_);
    Fill(key);
}

void TVault::Fill(const std::string& selectedKey) {
    List.SetRedraw(false);
    List.Clear();
    int select = -1;
    for (const QuarantineEntry& entry : listing_.entries) {
        std::vector<std::string> cells = RowTexts(entry, SystemQuarantineFiles());
        const std::string caption = cells.front();
        cells.erase(cells.begin());
        const int row = List.AddRow(caption, cells);
        if (!selectedKey.empty() && entry.Key() == selectedKey) select = row;
    }
    List.SetRedraw(true);
    if (select >= 0) List.Select(select);
    Total.SetText(TotalText(listing_));
    UpdateButtons();
}

const QuarantineEntry* TVault::SelectedEntry() const {
    const int row = List.Selected();
    return row >= 0 && row < static_cast<int>(listing_.entries.size()) ? &listing_.entries[row] : nullptr;
}

void TVault::UpdateButtons() {
    const QuarantineEntry* entry = SelectedEntry();
    RestoreButton.Enable(entry && entry->CanRestore());
    DeleteButton.Enable(entry != nullptr);
}

// A click on the sorted column turns its order round; another column sorts upwards.
void TVault::ColumnClick(int column) {
    if (column < 0 || column >= static_cast<int>(Column::Count)) return;
    const Column clicked = static_cast<Column>(column);
    ascending_ = clicked == sortColumn_ ? !ascending_ : true;
    sortColumn_ = clicked;
    const QuarantineEntry* selected = SelectedEntry();
    const std::string key = selected ? selected->Key() : std::string();
    SortEntries(listing_.entries, sortColumn_, ascending_);
    Fill(key);
}

void TVault::RestoreClick() {
    if (const QuarantineEntry* entry = SelectedEntry()) {
        const QuarantineEntry chosen = *entry;
        RestoreEntry(chosen, quarantineFolder_, SystemQuarantineFiles(), *this);
    }
    Reload();
}

void TVault::DeleteClick() {
    if (const QuarantineEntry* entry = SelectedEntry()) {
        const QuarantineEntry chosen = *entry;
        DeleteEntry(chosen, quarantineFolder_, SystemQuarantineFiles(), *this);
    }
    Reload();
}

void TVault::HelpClick() { ui::OpenWithShell(hwnd(), ModuleFolder(nullptr) + texts::kHelpPage, SW_SHOWNORMAL); }

// Risky answers are never the default: No is, for restoring a dialer as for deleting for good.
bool TVault::Confirm(const std::string& question) {
    return MessageBoxA(hwnd(), question.c_str(), ui::ApplicationTitle().c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void TVault::Report(const std::string& failure) {
    MessageBoxA(hwnd(), failure.c_str(), ui::ApplicationTitle().c_str(), MB_OK | MB_ICONERROR);
}

} // namespace vur::vault
