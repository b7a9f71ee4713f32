// TSECURITYINI: the settings file with every section name, key name and value sealed under the two pass
// phrases, so callers read and write plain text and the file holds only tokens. Tokens are compared exactly:
// the tokens of two names (numbers that differ in the last digit, say) can differ in letter case only.
#pragma once

#include "shared/disk_ini_file.h"

#include <string>
#include <vector>

namespace vur {

class TSECURITYINI : public TIniFile {
public:
    // Only stores the three; the file is not touched.
    TSECURITYINI(std::string fileName, std::string nameKey, std::string valueKey);

    // Default goes to the file layer plain; a stored raw value equal to it returns it as it is. A stored
    // token that is not well formed raises EBase64Error.
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    // Names as stored, unsealed one by one; a malformed name raises EBase64Error.
    void ReadSection(const std::string& section, std::vector<std::string>& names) override;
    void ReadSections(std::vector<std::string>& names) override;
    // The stored lines of the section, unsealed: the names are not sealed again to look the values up.
    void ReadSectionEntries(const std::string& section, Entries& entries) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;

    const std::string& NameKey() const { return FNameKey; }
    const std::string& ValueKey() const { return FValueKey; }

private:
    std::string FNameKey;
    std::string FValueKey;
};

} // namespace vur
