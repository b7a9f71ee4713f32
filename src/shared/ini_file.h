// The INI file class family every settings user codes against: TCustomIniFile is the interface, with the
// typed reads and writes built on ReadString and WriteString, so a sealed descendant seals those too.
#pragma once

#include <string>
#include <vector>

namespace vur {

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;

    const std::string& FileName() const { return fileName_; }

    // Default is returned as it is when the key is missing.
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) = 0;
    // Creates the file and the section when missing.
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;

    // Decimal text; an empty or non-numeric value gives the default.
    virtual int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    // Stored as "1" or "0"; any non-zero integer reads as true.
    virtual bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
    virtual void WriteBool(const std::string& section, const std::string& ident, bool value);

    // Key names of the section and names of all sections, in file order.
    virtual void ReadSection(const std::string& section, std::vector<std::string>& names) = 0;
    virtual void ReadSections(std::vector<std::string>& names) = 0;
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;

    bool SectionExists(const std::string& section);

private:
    std::string fileName_;
};

// Strict decimal: optional sign, digits only, within int range; false otherwise.
bool ParseDecimal(const std::string& text, int& value);

} // namespace vur
