// MemoryIniFile: names match without regard to ASCII letter case, the first occurrence wins.
#include "memory_ini.h"

#include <algorithm>
#include <stdexcept>

namespace vurtest {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lx = (x >= 'A' && x <= 'Z') ? x + 32 : x;
               const auto ly = (y >= 'A' && y <= 'Z') ? y + 32 : y;
               return lx == ly;
           });
}

} // namespace

MemoryIniFile::Section* MemoryIniFile::Find(const std::string& section) {
    for (auto& s : sections_)
        if (SameName(s.name, section)) return &s;
    return nullptr;
}

std::string MemoryIniFile::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultValue) {
    for (const std::string& entry : damaged)
        if (SameName(entry, section + "/" + ident)) throw std::runtime_error("Base64: Incorrect string format");
    if (Section* s = Find(section))
        for (const auto& [key, value] : s->entries)
            if (SameName(key, ident)) return value;
    return defaultValue;
}

void MemoryIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    if (failWrites) throw std::runtime_error("Cannot lock settings file");
    writes.push_back(section + "/" + ident + "=" + value);
    Section* s = Find(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (auto& entry : s->entries)
        if (SameName(entry.first, ident)) {
            entry.second = value;
            return;
        }
    s->entries.emplace_back(ident, value);
}

void MemoryIniFile::ReadSection(const std::string& section, std::vector<std::string>& names) {
    names.clear();
    if (Section* s = Find(section))
        for (const auto& entry : s->entries) names.push_back(entry.first);
}

void MemoryIniFile::ReadSections(std::vector<std::string>& names) {
    names.clear();
    for (const auto& s : sections_) names.push_back(s.name);
}

void MemoryIniFile::EraseSection(const std::string& section) {
    sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                   [&](const Section& s) { return SameName(s.name, section); }),
                    sections_.end());
}

void MemoryIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    if (Section* s = Find(section))
        s->entries.erase(std::remove_if(s->entries.begin(), s->entries.end(),
                                        [&](const auto& entry) { return SameName(entry.first, ident); }),
                         s->entries.end());
}

} // namespace vurtest
