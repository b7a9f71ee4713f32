// TSECURITYINI: names sealed once with the name phrase; values twice, inner layer name phrase, outer value.
#include "shared/securityunit.h"

#include "shared/sealing.h"

namespace vur {

TSECURITYINI::TSECURITYINI(std::string fileName, std::string nameKey, std::string valueKey)
    : TIniFile(std::move(fileName), NameMatching::Exact), FNameKey(std::move(nameKey)), FValueKey(std::move(valueKey)) {}

std::string TSECURITYINI::ReadString(const std::string& section, const std::string& ident,
                                     const std::string& defaultValue) {
    const std::string s = SealString(FNameKey, section);
    const std::string k = SealString(FNameKey, ident);
    const std::string raw = TIniFile::ReadString(s, k, defaultValue);
    if (raw == defaultValue) return defaultValue;
    return UnsealString(FNameKey, UnsealString(FValueKey, raw));
}

void TSECURITYINI::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    const std::string v = SealString(FValueKey, SealString(FNameKey, value));
    const std::string k = SealString(FNameKey, ident);
    const std::string s = SealString(FNameKey, section);
    TIniFile::WriteString(s, k, v);
}

void TSECURITYINI::ReadSection(const std::string& section, std::vector<std::string>& names) {
    TIniFile::ReadSection(SealString(FNameKey, section), names);
    for (std::string& name : names) name = UnsealString(FNameKey, name);
}

void TSECURITYINI::ReadSectionEntries(const std::string& section, Entries& entries) {
    const std::string s = SealString(FNameKey, section);
    std::vector<std::string> names;
    TIniFile::ReadSection(s, names);
    entries.clear();
    entries.reserve(names.size());
    for (const std::string& name : names) {
        const std::string raw = TIniFile::ReadString(s, name, "");
        entries.emplace_back(UnsealString(FNameKey, name),
                             raw.empty() ? std::string() : UnsealString(FNameKey, UnsealString(FValueKey, raw)));
    }
}

void TSECURITYINI::ReadSections(std::vector<std::string>& names) {
    TIniFile::ReadSections(names);
    for (std::string& name : names) name = UnsealString(FNameKey, name);
}

void TSECURITYINI::EraseSection(const std::string& section) { TIniFile::EraseSection(SealString(FNameKey, section)); }

void TSECURITYINI::DeleteKey(const std::string& section, const std::string& ident) {
    TIniFile::DeleteKey(SealString(FNameKey, section), SealString(FNameKey, ident));
}

} // namespace vur
