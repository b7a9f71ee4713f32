// The typed INI operations, reduced to ReadString and WriteString.
#include "shared/ini_file.h"

#include <climits>

namespace vur {

bool ParseDecimal(const std::string& text, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
        if (result > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) result = -result;
    if (result > INT_MAX || result < INT_MIN) return false;
    value = static_cast<int>(result);
    return true;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
    int value;
    return ParseDecimal(ReadString(section, ident, ""), value) ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& section) {
    std::vector<std::string> names;
    ReadSection(section, names);
    return !names.empty();
}

void TCustomIniFile::ReadSectionEntries(const std::string& section, Entries& entries) {
    std::vector<std::string> names;
    ReadSection(section, names);
    entries.clear();
    entries.reserve(names.size());
    for (std::string& name : names) {
        std::string value = ReadString(section, name, "");
        entries.emplace_back(std::move(name), std::move(value));
    }
}

} // namespace vur
