// An in-memory settings object for tests of code that reads and writes settings (case-insensitive names,
// file order kept), with a log of every write so tests can assert on what was stored.
#pragma once

#include "shared/ini_file.h"

#include <string>
#include <utility>
#include <vector>

namespace vurtest {

class MemoryIniFile : public vur::TCustomIniFile {
public:
    MemoryIniFile() : TCustomIniFile("memory") {}

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, std::vector<std::string>& names) override;
    void ReadSections(std::vector<std::string>& names) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;

    // "Section/Key=Value" for every WriteString, in call order.
    std::vector<std::string> writes;
    // "Section/Key" of entries whose read fails as a damaged sealed value does.
    std::vector<std::string> damaged;
    // Every write fails, as one whose lock timed out does.
    bool failWrites = false;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section* Find(const std::string& section);
    std::vector<Section> sections_;
};

} // namespace vurtest
