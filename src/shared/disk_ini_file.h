// TIniFile: the settings file on disk in the private-profile format, shared safely between programs.
//
// Every call goes to the file: reads take the lock, compare the file's stamp with the one of the last parse
// and parse again only when another writer has changed it, so a change saved by another program is seen by
// the next read while a look-up stays cheap. Where opening a file is dear (Windows), a read first asks the
// suite's shared change counter and skips the file while no writer has stored anything; an edit by a
// program outside the suite is then seen within kForeignEditDelayMs. Every write is a read-modify-write of the
// whole file under the exclusive lock, from a fresh read (parsed again only when its bytes differ from the
// last parse), so two writers never lose each other's changes. A file that cannot be
// read reads as empty, as the platform's functions do, but is never written over. Names match without
// regard to letter case, as with the platform's functions, unless the owner asks for exact matching.
#pragma once

#include "shared/ini_document.h"
#include "shared/ini_file.h"
#include "shared/settings_file.h"

#include <functional>
#include <string>
#include <vector>

namespace vur {

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(std::string fileName, NameMatching matching = NameMatching::IgnoreCase);

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    // A line break in a name or value, an "=" in a key name or a key name that opens with "[" cannot be
    // stored as one line; they raise EIniFileError instead of corrupting the file.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, std::vector<std::string>& names) override;
    void ReadSections(std::vector<std::string>& names) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;

    void BeginUpdate() override;
    void EndUpdate() override;
    void CancelUpdate() override;
    // Holds the exclusive lock from the read to the store.
    void LockedUpdate(const std::function<void()>& change) override;
    std::string ContentVersion() override;

private:
    using Edit = std::function<void(IniDocument&)>;

    const IniDocument& Current();
    void TakeOver(LockedSettingsFile& file, IniDocument doc, std::string content);
    void Change(Edit edit);
    void Store(const std::vector<Edit>& edits);

    NameMatching matching_;
    SettingsFileSync sync_;
    IniDocument cache_;
    std::string cacheBytes_; // what cache_ was parsed from
    FileStamp stamp_;
    ChangeMark mark_;
    bool cached_ = false;

    int updateDepth_ = 0;
    bool updateCancelled_ = false;
    IniDocument pending_;
    std::vector<Edit> edits_;
};

} // namespace vur
