// List view, tab pages and tree view: creation, item access and their notifications.
#include "shared/ui/lists.h"

namespace vur::ui {

namespace {
std::string ItemText(HWND list, int row, int column) {
    char buffer[1024] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}
} // namespace

void ListView::Create(Window& parent, int left, int top, int width, int height, bool editable,
                      bool clickableHeaders) {
    DWORD style = WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                  (clickableHeaders ? 0 : LVS_NOSORTHEADER);
    Control::Create(parent, WC_LISTVIEWA, "", style | (editable ? LVS_EDITLABELS : 0), left, top, width, height,
                    WS_EX_CLIENTEDGE);
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void ListView::AddColumn(const std::string& title, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title.c_str());
    column.cx = width;
    int count = Header_GetItemCount(ListView_GetHeader(hwnd_));
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&column));
}

void ListView::SetColumnWidth(int column, int width) {
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

int ListView::AddRow(const std::string& caption, const std::vector<std::string>& subItems) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<char*>(caption.c_str());
    int row = static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 0; i < subItems.size(); ++i) SetCell(row, static_cast<int>(i + 1), subItems[i]);
    return row;
}

std::string ListView::Cell(int row, int column) const { return ItemText(hwnd_, row, column); }

void ListView::SetCell(int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int ListView::Count() const { return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

int ListView::Selected() const {
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListView::Select(int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ListView::Delete(int row) { SendMessageA(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }
void ListView::Clear() { SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0); }

void ListView::Reserve(int rows) {
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOINVALIDATEALL);
}

void ListView::SetRedraw(bool on) {
    SendMessageA(hwnd_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on) InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ListView::OnNotify(NMHDR* header) {
    switch (header->code) {
    case NM_CLICK:
        if (onClick) onClick();
        break;
    case LVN_ENDLABELEDITA: {
        auto* edit = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (!edit->item.pszText) return FALSE; // edit cancelled
        const int row = edit->item.iItem;
        const std::string caption = edit->item.pszText;
        return !onEdited || onEdited(row, caption) ? TRUE : FALSE;
    }
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_TEXT) && onTextChanged) onTextChanged(change->iItem);
        if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) &&
            onSelectionChanged)
            onSelectionChanged();
        break;
    }
    case LVN_COLUMNCLICK:
        if (onColumnClick) onColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        break;
    }
    return 0;
}

void TabPages::Create(Window& parent, int left, int top, int width, int height) {
    parent_ = &parent;
    Control::Create(parent, WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS, left, top, width, height);
}

RECT TabPages::PageArea() const {
    RECT area;
    GetWindowRect(hwnd_, &area);
    MapWindowPoints(nullptr, parent_->hwnd(), reinterpret_cast<POINT*>(&area), 2);
    SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

Window& TabPages::AddPage(const std::string& title) {
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(title.c_str());
    SendMessageA(hwnd_, TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&tab));
    RECT area = PageArea();
    auto page = std::make_unique<Window>();
    page->CreateChild(*parent_, area.left, area.top, area.right - area.left, area.bottom - area.top);
    SetWindowPos(page->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    pages_.push_back(std::move(page));
    ShowSelected();
    return *pages_.back();
}

int TabPages::Selected() const { return static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)); }

void TabPages::Select(int index) {
    SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowSelected();
}

void TabPages::Place(int left, int top, int width, int height) {
    SetBounds(left, top, width, height);
    RECT area = PageArea();
    for (auto& page : pages_) page->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void TabPages::ShowSelected() {
    int selected = Selected();
    for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->Show(static_cast<int>(i) == selected);
}

LRESULT TabPages::OnNotify(NMHDR* header) {
    if (header->code == TCN_SELCHANGE) {
        ShowSelected();
        if (onChange) onChange();
    }
    return 0;
}

void TreeView::Create(Window& parent, int left, int top, int width, int height, DWORD style) {
    Control::Create(parent, WC_TREEVIEWA, "", WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_SHOWSELALWAYS | style,
                    left, top, width, height, WS_EX_CLIENTEDGE);
}

HTREEITEM TreeView::Add(HTREEITEM parent, const std::string& text, LPARAM data, bool hasChildren) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = data;
    insert.item.cChildren = hasChildren ? 1 : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM TreeView::Data(HTREEITEM item) const {
    TVITEMA entry{};
    entry.mask = TVIF_PARAM | TVIF_HANDLE;
    entry.hItem = item;
    SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
    return entry.lParam;
}

HTREEITEM TreeView::FirstChild(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

void TreeView::SetHasChildren(HTREEITEM item, bool hasChildren) {
    TVITEMA entry{};
    entry.mask = TVIF_HANDLE | TVIF_CHILDREN;
    entry.hItem = item;
    entry.cChildren = hasChildren ? 1 : 0;
    SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
}

HTREEITEM TreeView::Selected() const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TreeView::Select(HTREEITEM item) { SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)); }
void TreeView::Expand(HTREEITEM item) { SendMessageA(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }
void TreeView::Clear() { SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

void TreeView::SetImages(HIMAGELIST images) {
    SendMessageA(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void TreeView::SetImage(HTREEITEM item, int image, int selectedImage) {
    TVITEMA entry{};
    entry.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    entry.hItem = item;
    entry.iImage = image;
    entry.iSelectedImage = selectedImage;
    SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
}

LRESULT TreeView::OnNotify(NMHDR* header) {
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_SELCHANGEDA:
        if (onSelect) onSelect(change->itemNew.hItem);
        break;
    case TVN_ITEMEXPANDINGA:
        if (onExpanding && (change->action & TVE_EXPAND)) onExpanding(change->itemNew.hItem);
        break;
    case TVN_DELETEITEMA:
        if (onDelete) onDelete(change->itemOld.lParam);
        break;
    case NM_RCLICK:
        if (selectOnRightClick_) {
            // Sent as the button goes up, so the mouse is still where it was clicked.
            TVHITTESTINFO hit{};
            GetCursorPos(&hit.pt);
            ScreenToClient(hwnd_, &hit.pt);
            SendMessageA(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.hItem && (hit.flags & TVHT_ONITEM)) Select(hit.hItem);
        }
        break; // 0: the control goes on to its context menu message as usual
    }
    return 0;
}

} // namespace vur::ui
