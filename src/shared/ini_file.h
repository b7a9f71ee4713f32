// The INI file class family every settings user codes against: TCustomIniFile is the interface, with the
// typed reads and writes built on ReadString and WriteString, so a sealed descendant seals those too.
#pragma once

#include <functional>
#include <string>
#include <utility>
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

    // Every key of the section with its value, in file order: ReadSection and then ReadString per key, in
    // one pass where a descendant can do it cheaper.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    virtual void ReadSectionEntries(const std::string& section, Entries& entries);

    // Groups changes into one: between BeginUpdate and EndUpdate writes are kept in memory (reads see them),
    // and EndUpdate stores them all at once, so other programs never see a half-done save. CancelUpdate
    // drops them. Calls nest; only the outermost pair counts. Objects without a file do nothing here.
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
    virtual void CancelUpdate() {}
    // Runs `change` as one read-modify-write: its reads see the file as it is at that moment, and no other
    // writer can store anything until its writes are stored, so a merge made there loses nothing written
    // meanwhile. An exception out of `change` drops its writes. Inside an update it simply joins it.
    virtual void LockedUpdate(const std::function<void()>& change) {
        BeginUpdate();
        try {
            change();
        } catch (...) {
            CancelUpdate();
            throw;
        }
        EndUpdate();
    }

    // Names the content that this object's reads last saw (inside an update: the content the update began
    // with) or that its last stored change left, without looking at the file again. Two equal versions mean
    // that no program of the suite changed the file in between. Empty when the object cannot tell: a caller
    // must then assume a change.
    virtual std::string ContentVersion() { return std::string(); }

private:
    std::string fileName_;
};

// One group of changes: Commit() stores them; leaving the scope without it (an exception) drops them.
class IniUpdate {
public:
    explicit IniUpdate(TCustomIniFile& ini) : ini_(ini) { ini_.BeginUpdate(); }
    ~IniUpdate() {
        if (!done_) ini_.CancelUpdate();
    }
    IniUpdate(const IniUpdate&) = delete;
    IniUpdate& operator=(const IniUpdate&) = delete;
    void Commit() {
        done_ = true;
        ini_.EndUpdate();
    }

private:
    TCustomIniFile& ini_;
    bool done_ = false;
};

// Strict decimal: optional sign, digits only, within int range; false otherwise.
bool ParseDecimal(const std::string& text, int& value);

} // namespace vur
