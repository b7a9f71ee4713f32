// Thin wrappers of the common controls with items: list view (report view), tab pages, tree view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shared/ui/controls.h"
#include "shared/ui/window.h"

namespace vur::ui {

// Report view with whole-row selection, one selected row at most; with `editable` the row captions (column 0)
// can be edited in place. The headers can be clicked only with `clickableHeaders` (for sorting).
class ListView : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height, bool editable,
                bool clickableHeaders = false);
    void AddColumn(const std::string& title, int width);
    void SetColumnWidth(int column, int width);
    int AddRow(const std::string& caption, const std::vector<std::string>& subItems = {});
    std::string Cell(int row, int column) const;
    void SetCell(int row, int column, const std::string& text);
    int Count() const;
    int Selected() const; // -1 when no row is selected
    void Select(int row); // and scrolls it into view
    void Delete(int row);
    void Clear();
    // Off around the insertion of many rows: the list is painted once afterwards.
    void SetRedraw(bool on);
    // Makes room for that many rows at once.
    void Reserve(int rows);

    std::function<void()> onClick;
    // An ended edit: true takes the caption over (the handler may show it in the row itself), false keeps the
    // caption the row had. Without a handler every edit is taken over.
    std::function<bool(int row, const std::string& caption)> onEdited;
    std::function<void(int row)> onTextChanged;                        // a row's text changed
    std::function<void()> onSelectionChanged;                          // by mouse, keyboard or Select
    std::function<void(int column)> onColumnClick;
    LRESULT OnNotify(NMHDR* header) override;
};

// Tab pages: each page is a panel of the tab control's parent, shown while its tab is selected.
class TabPages : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height);
    Window& AddPage(const std::string& title);
    int Selected() const;
    void Select(int index);
    // Moves the control and lays its pages out again (for resizable forms).
    void Place(int left, int top, int width, int height);

    std::function<void()> onChange; // the user switched to another page
    LRESULT OnNotify(NMHDR* header) override;

private:
    RECT PageArea() const;
    void ShowSelected();
    Window* parent_ = nullptr;
    std::vector<std::unique_ptr<Window>> pages_;
};

// A tree of text items, each with a number the caller attaches (e.g. an index into its own records).
class TreeView : public Control {
public:
    // `style`: TVS_* flags beyond the defaults (buttons, show selection always).
    void Create(Window& parent, int left, int top, int width, int height, DWORD style = 0);
    HTREEITEM Add(HTREEITEM parent, const std::string& text, LPARAM data, bool hasChildren = false);
    LPARAM Data(HTREEITEM item) const;
    HTREEITEM FirstChild(HTREEITEM item) const; // null when it has none (yet)
    // The [+] of an item whose children are filled in when it opens; cleared when it turned out to have none.
    void SetHasChildren(HTREEITEM item, bool hasChildren);
    HTREEITEM Selected() const;
    void Select(HTREEITEM item);
    void Expand(HTREEITEM item);
    void Clear();
    // Sets the system's small-icon list so that items can show the shell's icons (image = index in it).
    void SetImages(HIMAGELIST images);
    void SetImage(HTREEITEM item, int image, int selectedImage);
    // A right click selects the item under the mouse first, as in the Explorer; off by default.
    void SelectOnRightClick(bool on) { selectOnRightClick_ = on; }

    std::function<void(HTREEITEM)> onSelect;
    std::function<void(HTREEITEM)> onExpanding; // before an item opens (fill its children here)
    // An item is deleted, also by Clear and when the control is destroyed with its parent: free its data here.
    std::function<void(LPARAM data)> onDelete;
    LRESULT OnNotify(NMHDR* header) override;

private:
    bool selectOnRightClick_ = false;
};

} // namespace vur::ui
