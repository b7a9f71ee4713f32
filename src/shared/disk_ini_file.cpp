// TIniFile: parsed-file cache checked against the file's stamp, and locked read-modify-write.
#include "shared/disk_ini_file.h"

#include "shared/errors.h"

namespace vur {

namespace {

void CheckStorable(const std::string& section, const std::string& ident, const std::string& value) {
    const auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    if (breaks(section) || breaks(ident) || breaks(value) || ident.find('=') != std::string::npos ||
        (!ident.empty() && ident.find_first_not_of(" \t") != std::string::npos &&
         ident[ident.find_first_not_of(" \t")] == '['))
        throw EIniFileError("Cannot store this name or value in a settings file line");
}

} // namespace

TIniFile::TIniFile(std::string fileName, NameMatching matching)
    : TCustomIniFile(std::move(fileName)), matching_(matching), cache_(matching), pending_(matching) {}

const IniDocument& TIniFile::Current() {
    if (updateDepth_ > 0) return pending_;
    if (cached_ && sync_.StillCurrent(mark_)) return cache_;
    LockedSettingsFile file(sync_, FileName(), false);
    const FileStamp stamp = file.Stamp();
    mark_ = sync_.Mark();
    if (cached_ && stamp == stamp_) return cache_;
    std::string bytes;
    if (!file.Exists() || !file.ReadAll(bytes)) bytes.clear();
    cache_ = IniDocument::Parse(bytes, matching_);
    cacheBytes_ = std::move(bytes);
    stamp_ = stamp;
    cached_ = true;
    return cache_;
}

void TIniFile::Store(const std::vector<Edit>& edits) {
    LockedSettingsFile file(sync_, FileName(), true);
    std::string bytes;
    if (!file.ReadAll(bytes)) throw EIniFileError("Cannot read settings file " + FileName());
    // The file is always read, but parsed again only when its bytes differ from those of the last parse:
    // parsing costs as much again as the rest of the write, and a byte-wise comparison trusts no time stamp.
    IniDocument doc(matching_);
    if (cached_ && bytes == cacheBytes_)
        doc = std::move(cache_);
    else
        doc = IniDocument::Parse(bytes, matching_);
    cached_ = false; // rebuilt below, or read again if the write fails: the file may be half-changed then
    for (const Edit& edit : edits) edit(doc);
    std::string content = doc.Serialize();
    if (content != bytes) file.Replace(content);
    TakeOver(file, std::move(doc), std::move(content));
}

// The file holds `content` now, parsed as `doc`.
void TIniFile::TakeOver(LockedSettingsFile& file, IniDocument doc, std::string content) {
    cache_ = std::move(doc);
    cacheBytes_ = std::move(content);
    stamp_ = file.Stamp();
    mark_ = sync_.Mark();
    cached_ = true;
}

void TIniFile::LockedUpdate(const std::function<void()>& change) {
    if (updateDepth_ > 0) {
        change();
        return;
    }
    LockedSettingsFile file(sync_, FileName(), true);
    std::string bytes;
    if (!file.ReadAll(bytes)) throw EIniFileError("Cannot read settings file " + FileName());
    if (!cached_ || bytes != cacheBytes_) {
        IniDocument doc = IniDocument::Parse(bytes, matching_);
        TakeOver(file, std::move(doc), std::move(bytes));
    } else {
        stamp_ = file.Stamp();
        mark_ = sync_.Mark();
    }
    // The change works on a copy of what the file holds now, as inside any update, but under the lock.
    pending_ = cache_;
    edits_.clear();
    updateCancelled_ = false;
    updateDepth_ = 1;
    const auto leave = [this] {
        updateDepth_ = 0;
        edits_.clear();
    };
    try {
        change();
    } catch (...) {
        leave();
        pending_ = IniDocument(matching_);
        throw;
    }
    leave();
    IniDocument doc = std::move(pending_);
    pending_ = IniDocument(matching_);
    if (updateCancelled_) return;
    std::string content = doc.Serialize();
    if (content == cacheBytes_) return;
    cached_ = false; // read again if the write fails: the file may be half-changed then
    file.Replace(content);
    TakeOver(file, std::move(doc), std::move(content));
}

void TIniFile::Change(Edit edit) {
    if (updateDepth_ > 0) {
        edit(pending_);
        edits_.push_back(std::move(edit));
        return;
    }
    Store({edit});
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) {
    std::string value;
    return Current().Find(section, ident, value) ? value : defaultValue;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    CheckStorable(section, ident, value);
    Change([=](IniDocument& doc) { doc.Set(section, ident, value); });
}

void TIniFile::ReadSection(const std::string& section, std::vector<std::string>& names) {
    names = Current().KeyNames(section);
}

void TIniFile::ReadSections(std::vector<std::string>& names) { names = Current().SectionNames(); }

void TIniFile::EraseSection(const std::string& section) {
    Change([=](IniDocument& doc) { doc.EraseSection(section); });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    Change([=](IniDocument& doc) { doc.DeleteKey(section, ident); });
}

void TIniFile::BeginUpdate() {
    if (updateDepth_ == 0) {
        pending_ = Current();
        edits_.clear();
        updateCancelled_ = false;
    }
    ++updateDepth_;
}

void TIniFile::EndUpdate() {
    if (updateDepth_ == 0 || --updateDepth_ > 0) return;
    std::vector<Edit> edits;
    edits.swap(edits_);
    pending_ = IniDocument(matching_);
    if (!updateCancelled_ && !edits.empty()) Store(edits);
}

void TIniFile::CancelUpdate() {
    if (updateDepth_ == 0) return;
    updateCancelled_ = true;
    EndUpdate();
}

std::string TIniFile::ContentVersion() {
    if (!cached_) return std::string(); // nothing read yet, or a store that failed half-way
    std::string version;
    for (const std::uint64_t part : stamp_.parts) version += std::to_string(part) + '.';
    return version;
}

} // namespace vur
