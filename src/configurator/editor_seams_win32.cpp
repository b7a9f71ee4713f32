// The rule editor's views on Windows.
#include "configurator/editor_seams_win32.h"

#include "shared/crc.h"
#include "shared/long_path.h"
#include "shared/run_value.h"
#include "shared/text_case.h"

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

bool WindowsApplicationFiles::Exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsApplicationFiles::KeyPath(const std::string& path) { return LowerCp1252(ExpandLongPath(path)); }

std::string WindowsApplicationFiles::ChecksumText(const std::string& path) {
    return CrcText(FileCRC32(path, kCrcInitial));
}

void RegistryStartValue::Write(const std::string& data) { WriteRunValue(data); }

void RegistryStartValue::Remove() { DeleteRunValue(); }

} // namespace vur::configurator
