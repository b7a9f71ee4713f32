// The rule editor's views on Windows.
#include "configurator/editor_seams_win32.h"

#include "shared/run_value.h"

namespace vur::configurator {

Row ListViewRows::At(int index) const {
    Row row{list_.Cell(index, 0), {}};
    for (int column = 1; column <= subItemCount_; ++column) row.subItems.push_back(list_.Cell(index, column));
    return row;
}

void ListViewRows::Replace(int index, const Row& row) {
    list_.SetCell(index, 0, row.caption);
    for (int column = 1; column <= subItemCount_; ++column)
        list_.SetCell(index, column, static_cast<std::size_t>(column) <= row.subItems.size() ? row.subItems[column - 1] : "");
}

void ListViewRows::BeginBulk(int rows) {
    list_.SetRedraw(false);
    list_.Reserve(rows);
}

void RegistryStartValue::Write(const std::string& data) { WriteRunValue(data); }

void RegistryStartValue::Remove() { DeleteRunValue(); }

} // namespace vur::configurator
