// Loading and saving the configurator's rules.
#include "configurator/rule_editor.h"

#include "configurator/config_texts.h"
#include "shared/errors.h"
#include "shared/settings_schema.h"

namespace vur::configurator {

// How one allow list is stored: its section and the value forms of a row; the key is the first sub-item.
struct ListKind {
    const char* section;
    std::string (*value)(const Row&);
    Row (*split)(const std::string&);

    static std::string Key(const Row& row) { return row.subItems.empty() ? std::string() : row.subItems[0]; }
};

namespace {

std::string SubItem(const Row& row, std::size_t index) {
    return index < row.subItems.size() ? row.subItems[index] : std::string();
}

std::string ApplicationValueOf(const Row& row) {
    return schema::ApplicationValue(row.caption, SubItem(row, 0), SubItem(row, 1));
}
Row ApplicationRow(const std::string& value) {
    const schema::ApplicationEntry entry = schema::SplitApplicationValue(value);
    return Row{entry.name, {entry.path, entry.crc}};
}
std::string NumberValueOf(const Row& row) { return schema::NumberValue(row.caption, SubItem(row, 0)); }
Row NumberRow(const std::string& value) {
    const schema::NumberEntry entry = schema::SplitNumberValue(value);
    return Row{entry.name, {entry.number}};
}

// The switch is off while the work runs and on again afterwards, also when the work fails: a failed save
// must not leave the window without automatic saving.
class SwitchOff {
public:
    explicit SwitchOff(int& tag) : tag_(tag) { tag_ = 0; }
    ~SwitchOff() { tag_ = 1; }
    SwitchOff(const SwitchOff&) = delete;
    SwitchOff& operator=(const SwitchOff&) = delete;

private:
    int& tag_;
};

class Bulk {
public:
    Bulk(RowList& list, int rows) : list_(list) { list_.BeginBulk(rows); }
    ~Bulk() { list_.EndBulk(); }
    Bulk(const Bulk&) = delete;
    Bulk& operator=(const Bulk&) = delete;

private:
    RowList& list_;
};

const ListKind kApplicationList{schema::kApplications, &ApplicationValueOf, &ApplicationRow};
const ListKind kNumberList{schema::kNumbers, &NumberValueOf, &NumberRow};

// Field by field: what the user changed here since `before` stays, what the file changed comes in.
Row Merge(const Row& here, const Row& before, const Row& file) {
    Row merged{here.caption == before.caption ? file.caption : here.caption, {}};
    for (std::size_t i = 0; i < file.subItems.size(); ++i)
        merged.subItems.push_back(SubItem(here, i) == SubItem(before, i) ? file.subItems[i] : SubItem(here, i));
    return merged;
}

AddOutcome NameRefused() {
    AddOutcome outcome;
    outcome.text = texts::kNameHasBar;
    outcome.caption = texts::kNameHasBarCaption;
    return outcome;
}

} // namespace

AddOutcome AddNumber(RowList& numbers, const std::string& name, const std::string& number) {
    if (!schema::IsStorableName(name)) return NameRefused();
    if (name.empty() || number.empty()) return {};
    // The number is kept exactly as typed: the monitor matches it only in its own form.
    numbers.Append(Row{name, {number}});
    AddOutcome outcome;
    outcome.added = true;
    return outcome;
}

AddOutcome AddApplication(RowList& applications, const std::string& name, const std::string& typedPath,
                          ApplicationFiles& files) {
    if (!schema::IsStorableName(name)) return NameRefused();
    AddOutcome outcome;
    if (!files.Exists(typedPath)) {
        outcome.text = texts::kFileMissing;
        outcome.caption = texts::kFileMissingCaption;
        return outcome;
    }
    const std::string path = files.KeyPath(typedPath);
    applications.Append(Row{name, {path, files.ChecksumText(path)}});
    outcome.added = true;
    return outcome;
}

RuleEditor::RuleEditor(TCustomIniFile& settings, RowList& applications, RowList& numbers, Choices choices,
                       StartValue& startValue, std::string programFolder)
    : settings_(settings), applications_(applications), numbers_(numbers), choices_(choices),
      startValue_(startValue), programFolder_(std::move(programFolder)) {}

void RuleEditor::LoadList(const ListKind& kind, RowList& list, Entries& synced) {
    TCustomIniFile::Entries entries;
    settings_.ReadSectionEntries(kind.section, entries);
    Bulk bulk(list, static_cast<int>(entries.size()));
    for (auto& entry : entries) {
        list.Append(kind.split(entry.second));
        synced[std::move(entry.first)] = std::move(entry.second);
    }
}

void RuleEditor::LoadRules() {
    SwitchOff off(tag_);
    applications_.Clear();
    numbers_.Clear();
    Entries syncedApplications, syncedNumbers;
    std::string version;
    try {
        // Read as one snapshot of the file: nothing is written, the update is dropped at the end.
        IniUpdate snapshot(settings_);
        LoadList(kApplicationList, applications_, syncedApplications);
        LoadList(kNumberList, numbers_, syncedNumbers);
        choices_.newNumber.Select(schema::Read(settings_, schema::kNewNumber));
        choices_.newApplication.Select(schema::Read(settings_, schema::kNewApplication));
        choices_.infectedApplication.Select(schema::Read(settings_, schema::kInfectedApplication));
        choices_.suspiciousApplication.Select(schema::Read(settings_, schema::kSuspiciousApplication));
        choices_.autoStart.Select(schema::Read(settings_, schema::kAutoStart));
        version = settings_.ContentVersion();
    } catch (...) {
        // The lists hold only part of the file now: saving them would destroy the rest.
        const bool first = !unreadable_;
        unreadable_ = true;
        if (first) throw;
        return;
    }
    unreadable_ = false;
    syncedApplications_ = std::move(syncedApplications);
    syncedNumbers_ = std::move(syncedNumbers);
    syncedVersion_ = std::move(version);
}

void RuleEditor::KeepForeignEntries(const ListKind& kind, RowList& list, const Entries& synced) {
    TCustomIniFile::Entries entries;
    settings_.ReadSectionEntries(kind.section, entries);
    if (entries.empty()) return;
    // Rows with the same key are stored as one entry, the last row's; that row is the one compared.
    std::unordered_map<std::string, int> lastRow;
    for (int i = 0, count = list.Count(); i < count; ++i) lastRow[ListKind::Key(list.At(i))] = i;
    for (const auto& [key, value] : entries) {
        const auto before = synced.find(key);
        const auto row = lastRow.find(key);
        if (before == synced.end()) {
            // New in the file; a row of the same key that the user made here wins.
            if (row == lastRow.end()) {
                list.Append(kind.split(value));
                lastRow[key] = list.Count() - 1;
            }
        } else if (before->second != value && row != lastRow.end()) {
            const Row here = list.At(row->second);
            const Row merged = Merge(here, kind.split(before->second), kind.split(value));
            if (!(merged == here)) list.Replace(row->second, merged);
        }
    }
}

void RuleEditor::WriteList(const ListKind& kind, RowList& list, Entries& written) {
    for (int i = 0, count = list.Count(); i < count; ++i) {
        const Row row = list.At(i);
        const std::string key = ListKind::Key(row), value = kind.value(row);
        settings_.WriteString(kind.section, key, value);
        written[key] = value;
    }
}

void RuleEditor::WriteChoices() {
    schema::Write(settings_, schema::kNewNumber, choices_.newNumber.Selected());
    schema::Write(settings_, schema::kNewApplication, choices_.newApplication.Selected());
    schema::Write(settings_, schema::kInfectedApplication, choices_.infectedApplication.Selected());
    schema::Write(settings_, schema::kSuspiciousApplication, choices_.suspiciousApplication.Selected());
    schema::Write(settings_, schema::kAutoStart, choices_.autoStart.Selected());
}

void RuleEditor::SaveRules() {
    SwitchOff off(tag_);
    if (unreadable_) return;
    Entries writtenApplications, writtenNumbers;
    // Merged and stored under one hold of the file's lock: an entry written after the merge has read the
    // file could not survive the erased sections.
    settings_.LockedUpdate([&] {
        // Another program's entries can only be there when the file has changed since the last load or save.
        if (syncedVersion_.empty() || settings_.ContentVersion() != syncedVersion_) {
            try {
                KeepForeignEntries(kApplicationList, applications_, syncedApplications_);
                KeepForeignEntries(kNumberList, numbers_, syncedNumbers_);
            } catch (const EBase64Error&) {
                unreadable_ = true; // told once, here; the file stays as it is
                throw;
            }
        }
        settings_.EraseSection(schema::kApplications);
        settings_.EraseSection(schema::kNumbers);
        WriteChoices();
        WriteList(kApplicationList, applications_, writtenApplications);
        WriteList(kNumberList, numbers_, writtenNumbers);
        syncedVersion_.clear(); // unknown until the store has succeeded
    });
    syncedApplications_ = std::move(writtenApplications);
    syncedNumbers_ = std::move(writtenNumbers);
    syncedVersion_ = settings_.ContentVersion();
    switch (choices_.autoStart.Selected()) {
    case schema::kStartWithWindows:
        startValue_.Write(schema::RunValueData(programFolder_));
        break;
    case schema::kStartByHand:
        startValue_.Remove();
        break;
    default:
        break; // no line chosen: the registry is left alone
    }
}

void RuleEditor::ChoiceChanged() {
    if (tag_ == 1) SaveRules();
}

void RuleEditor::RowEdited() {
    if (tag_ == 1) SaveRules();
}

void RuleEditor::RowTextChanged() {
    if (tag_ == 1) SaveRules();
}

const char* RuleEditor::Rename(RowList& list, int index, const std::string& caption) {
    if (!schema::IsStorableName(caption)) return texts::kNameHasBar;
    Row row = list.At(index);
    row.caption = caption;
    list.Replace(index, row);
    RowEdited();
    return nullptr;
}

void RuleEditor::RemoveSelected(RowList& list) {
    const int selected = list.Selected();
    if (selected < 0) return;
    tag_ = 0;
    list.Delete(selected);
    SaveRules();
}

void RuleEditor::BeginAdd() { tag_ = 0; }

void RuleEditor::EndAdd() { SaveRules(); }

} // namespace vur::configurator
