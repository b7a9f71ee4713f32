// Reading the rows of a list view and the lines of a combo box of another process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drive {

struct ListViewItems {
    std::vector<int> widths;                    // one per header column, in pixels
    std::vector<std::vector<std::string>> rows; // each row's texts, one per column (at least one), CP1252
    long selected = -1;                         // the first selected row
};

struct ComboItems {
    std::vector<std::string> lines; // the list's lines, CP1252
    long selected = -1;
};

// Both throw std::runtime_error when the control does not answer or its process cannot be opened.
ListViewItems ReadListView(HWND list);
ComboItems ReadComboBox(HWND combo);

} // namespace drive
