// LVM_GETITEMTEXT takes a pointer to an LVITEM and its text buffer, which the system does not carry across
// processes, so both live in the list view's process; as for the tree view, the driver is built for the
// architecture of the programs it drives, so the record layout agrees. The header's column count and the
// widths come back as plain results.
#include "items.h"

#include <commctrl.h>

#include <cwchar>
#include <stdexcept>

#include "remote_memory.h"

namespace drive {

namespace {

constexpr SIZE_T kTextOffset = 256, kTextSize = 4096;
static_assert(sizeof(LVITEMA) <= kTextOffset, "LVITEMA fits before the text buffer");

std::string CellText(HWND list, const RemoteMemory& remote, long row, int column) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<char*>(remote.At(kTextOffset));
    item.cchTextMax = static_cast<int>(kTextSize);
    remote.Write(0, &item, sizeof item);
    const char none = '\0';
    remote.Write(kTextOffset, &none, 1); // a cell the control leaves untouched reads as empty
    Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), remote.At(0));
    char text[kTextSize] = {};
    remote.Read(kTextOffset, text, kTextSize - 1);
    return text;
}

// In the ANSI code page, as every text of the driver's output.
std::string Ansi(const std::wstring& text) {
    if (text.empty()) return "";
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

} // namespace

ListViewItems ReadListView(HWND list) {
    ListViewItems items;
    const HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    const LRESULT columns = header ? Send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (LRESULT c = 0; c < columns; ++c)
        items.widths.push_back(static_cast<int>(Send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0)));
    items.selected = static_cast<long>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));

    // Without columns (an icon or list view that never had any) a row still has the item's own text.
    const int cells = columns > 0 ? static_cast<int>(columns) : 1;
    const LRESULT count = Send(list, LVM_GETITEMCOUNT, 0, 0);
    RemoteMemory remote(list, kTextOffset + kTextSize);
    for (LRESULT row = 0; row < count; ++row) {
        std::vector<std::string> texts;
        for (int c = 0; c < cells; ++c) texts.push_back(CellText(list, remote, static_cast<long>(row), c));
        items.rows.push_back(texts);
    }
    return items;
}

// CB_GETLBTEXT is carried across processes by the system, so a local buffer does; but Wine hands an ANSI
// caller in another process the UTF-16 text, so the lines are asked for as UTF-16 and converted here. An
// owner-drawn combo box without CBS_HASSTRINGS (the one inside a ComboBoxEx32) keeps no texts, only each
// line's item data, which CB_GETLBTEXT would hand out instead: its lines read as empty.
ComboItems ReadComboBox(HWND combo) {
    ComboItems items;
    const LONG style = GetWindowLongA(combo, GWL_STYLE);
    const bool texts = (style & CBS_HASSTRINGS) || !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE));
    items.selected = static_cast<long>(Send(combo, CB_GETCURSEL, 0, 0));
    if (items.selected < 0) items.selected = -1;
    const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (!texts) {
            items.lines.emplace_back();
            continue;
        }
        const WPARAM index = static_cast<WPARAM>(i);
        const LRESULT length = SendWide(combo, CB_GETLBTEXTLEN, index, 0);
        std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        if (length > 0) SendWide(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(std::wcslen(text.c_str()));
        items.lines.push_back(Ansi(text));
    }
    return items;
}

} // namespace drive
