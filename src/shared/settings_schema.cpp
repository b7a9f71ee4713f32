// The value forms of the allow lists and the Run value.
#include "shared/settings_schema.h"

#include "shared/errors.h"

namespace vur {
namespace schema {

namespace {

// The text before the next bar, removed with it; without a bar the field is empty and nothing is removed.
std::string TakeField(std::string& rest) {
    const std::size_t bar = rest.find('|');
    if (bar == std::string::npos) return "";
    std::string field = rest.substr(0, bar);
    rest.erase(0, bar + 1);
    return field;
}

constexpr char kBar = '|';
constexpr char kBrokenBar = '\xA6'; // CP1252

void RefuseBar(const std::string& field, const char* what) {
    if (field.find(kBar) != std::string::npos)
        throw EIniFileError(std::string("Cannot store a \"|\" in the ") + what + " of an allow entry");
}

} // namespace

bool IsStorableName(const std::string& name) { return name.find(kBar) == std::string::npos; }

std::string StorableName(const std::string& text) {
    std::string name = text;
    for (char& c : name)
        if (c == kBar) c = kBrokenBar;
    return name;
}

std::string RunValueData(const std::string& suiteFolder) { return "\"" + suiteFolder + "fast.exe\""; }

std::string NumberKey(unsigned long countryCode, const std::string& areaCode, const std::string& localNumber) {
    return std::to_string(countryCode) + " " + areaCode + " " + localNumber;
}

std::string NumberValue(const std::string& name, const std::string& number) {
    RefuseBar(name, "name");
    return name + kBar + number;
}

NumberEntry SplitNumberValue(const std::string& value) {
    std::string rest = value;
    NumberEntry entry;
    entry.name = TakeField(rest);
    entry.number = rest;
    return entry;
}

bool IsNumberAllowed(TCustomIniFile& ini, const std::string& numberKey) {
    return !ini.ReadString(kNumbers, numberKey, "").empty();
}

std::string ApplicationValue(const std::string& name, const std::string& path, const std::string& crcText) {
    RefuseBar(name, "name");
    RefuseBar(path, "path");
    return name + kBar + path + kBar + crcText;
}

ApplicationEntry SplitApplicationValue(const std::string& value) {
    std::string rest = value;
    ApplicationEntry entry;
    entry.name = TakeField(rest);
    entry.path = TakeField(rest);
    entry.crc = rest;
    return entry;
}

bool IsApplicationAllowed(TCustomIniFile& ini, const std::string& path, const std::string& crcText) {
    return ini.ReadString(kApplications, path, "").find("|" + crcText) != std::string::npos;
}

} // namespace schema
} // namespace vur
