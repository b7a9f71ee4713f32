// Checking names that come from outside.
#include "shared/relative_path.h"

#include <vector>

#include "shared/text_case.h"

namespace vur {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

bool IsDeviceName(const std::string& component) {
    // Every device name starts with one of these letters: the scanner and the engines ask for each file.
    if (component.empty() || std::string("cCpPaAnNlL").find(component[0]) == std::string::npos) return false;
    std::string base = LowerCp1252(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
    for (const char* device : kDevices)
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

namespace {

std::vector<std::string> Components(const std::string& file) {
    std::vector<std::string> parts(1);
    for (char c : file) {
        if (IsSeparator(c)) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

} // namespace

std::string RefusalReason(const std::string& file) {
    if (file.empty()) return "Der Dateiname ist leer.";
    if (IsSeparator(file[0])) return "Der Dateiname ist ein absoluter Pfad.";
    if (file.find(':') != std::string::npos) return "Der Dateiname enthält einen Doppelpunkt.";
    for (const std::string& part : Components(file)) {
        if (part.empty()) return "Der Dateiname enthält einen leeren Pfadteil.";
        if (part == "." || part == "..") return "Der Dateiname verweist aus dem Programmordner heraus.";
        for (unsigned char c : part)
            if (c < 0x20 || std::string("<>\"|?*").find(static_cast<char>(c)) != std::string::npos)
                return "Der Dateiname enthält ein unzulässiges Zeichen.";
        if (part.back() == '.' || part.back() == ' ') return "Ein Teil des Dateinamens endet mit Punkt oder Leerzeichen.";
        if (IsDeviceName(part)) return "Der Dateiname ist ein Gerätename.";
    }
    return std::string();
}

std::string FileNameRefusalReason(const std::string& name) {
    if (name.find_first_of("\\/") != std::string::npos) return "Der Dateiname enthält einen Ordner.";
    return RefusalReason(name);
}

} // namespace vur
