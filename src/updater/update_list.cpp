// Reading the update list.
#include "updater/update_list.h"

#include "shared/ini_file.h"
#include "shared/text_lines.h"

namespace vur::updater {

namespace {

std::int32_t Number(const std::string& line) {
    int value = 0;
    if (!ParseDecimal(line, value)) throw EUpdateListError("'" + line + "' is not a valid integer value");
    return static_cast<std::int32_t>(value);
}

} // namespace

UpdateListReader::UpdateListReader(const std::string& bytes) : lines_(SplitLines(bytes)) {}

std::string UpdateListReader::ReadLine() { return AtEnd() ? std::string() : lines_[next_++]; }

bool UpdateListReader::Next(UpdateEntry& entry) {
    if (AtEnd()) return false;
    entry.name = ReadLine();
    if (AtEnd()) return false; // an entry of one line ends the list
    entry.file = ReadLine();
    entry.size = Number(ReadLine());
    entry.checksum = Number(ReadLine());
    entry.url = ReadLine();
    return true;
}

bool ChecksumMatches(std::uint32_t fileChecksum, std::int32_t listed) {
    return fileChecksum == static_cast<std::uint32_t>(listed);
}

} // namespace vur::updater
