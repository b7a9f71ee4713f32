// The configurator's logic over its window: loading the rules into the two allow lists and the five reaction
// lists, saving them back, and what the change, remove and add handlers do with the automatic-saving switch.
//
// The window is reached only through the small views below, so the whole of it runs natively in tests.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "shared/ini_file.h"

namespace vur::configurator {

struct ListKind; // how one allow list is stored

// One row of an allow list: the caption (the name) and its sub-items (number; or path and checksum).
struct Row {
    std::string caption;
    std::vector<std::string> subItems;
    bool operator==(const Row& other) const { return caption == other.caption && subItems == other.subItems; }
};

// An allow list as the window shows it.
class RowList {
public:
    virtual ~RowList() = default;
    virtual int Count() const = 0;
    virtual Row At(int index) const = 0;
    virtual void Append(const Row& row) = 0;
    virtual void Replace(int index, const Row& row) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Selected() const = 0; // -1 when no row is selected
    // Around a load of `rows` rows: the list may make room at once and stop painting meanwhile.
    virtual void BeginBulk(int rows) {}
    virtual void EndBulk() {}
};

// A drop-down list of reactions: the index of the line shown, -1 for none.
class Choice {
public:
    virtual ~Choice() = default;
    virtual int Selected() const = 0;
    virtual void Select(int index) = 0;
};

// The Run value that starts the monitor with Windows.
class StartValue {
public:
    virtual ~StartValue() = default;
    virtual void Write(const std::string& data) = 0;
    virtual void Remove() = 0;
};

// The five reaction lists, in the order they are written.
struct Choices {
    Choice& newNumber;           // ComboBox2
    Choice& newApplication;      // ComboBox1
    Choice& infectedApplication; // ComboBox3
    Choice& suspiciousApplication; // ComboBox4
    Choice& autoStart;           // ComboBox5
};

// The file side of the add-application dialog.
class ApplicationFiles {
public:
    virtual ~ApplicationFiles() = default;
    virtual bool Exists(const std::string& path) = 0; // a file, not a folder
    // The path as the monitor composes it for the running program: every component long, all lower case.
    virtual std::string KeyPath(const std::string& path) = 0;
    virtual std::string ChecksumText(const std::string& path) = 0; // the monitor's 8 hex digits
};

// What an add dialog's add button did: the row is appended (the dialog closes), or the dialog stays open,
// showing the box `text` / `caption` when `text` is set (an incomplete number is ignored silently).
struct AddOutcome {
    bool added = false;
    const char* text = nullptr;
    const char* caption = nullptr;
};

// The name comes first, as in the dialogs: a name the allow entry cannot hold is refused with a hint.
AddOutcome AddNumber(RowList& numbers, const std::string& name, const std::string& number);
AddOutcome AddApplication(RowList& applications, const std::string& name, const std::string& typedPath,
                          ApplicationFiles& files);

class RuleEditor {
public:
    // `programFolder` ends with its backslash; the Run value names fast.exe in it.
    RuleEditor(TCustomIniFile& settings, RowList& applications, RowList& numbers, Choices choices,
               StartValue& startValue, std::string programFolder);

    // Everything re-read from the file. A file that cannot be read raises once; while it stays unreadable,
    // later loads keep quiet and no save writes anything, so the damaged file is never replaced by the
    // window's partial lists. The next load that succeeds ends that state.
    void LoadRules();
    // Writes the window's rules as one grouped change, merged with the file under its lock. Entries that
    // another program (the monitor, when the user allows something) has added in the file since the last
    // load or save are kept and shown; of an entry changed there, each field the user has not changed here
    // takes the file's value (a rename keeps the monitor's new checksum); rows removed here stay removed.
    void SaveRules();

    // The handlers of the window's events, each saving only while the switch is on.
    void ChoiceChanged();
    void RowEdited();
    void RowTextChanged();
    // An in-place edit of a row's name as it ends: the row renamed and saved (nullptr), or the hint to show
    // for a name the allow entry cannot hold, the row unchanged.
    const char* Rename(RowList& list, int index, const std::string& caption);
    // "Entfernen": deletes the selected row and saves; without a selection nothing happens.
    void RemoveSelected(RowList& list);
    // "Hinzufügen": the switch is off while the add dialog is open; saves afterwards, whatever the outcome.
    void BeginAdd();
    void EndAdd();

    // The automatic-saving switch: 1 = edits save at once, 0 = a load, save or add dialog is in progress.
    int Tag() const { return tag_; }
    bool Unreadable() const { return unreadable_; }

private:
    using Entries = std::unordered_map<std::string, std::string>;

    void LoadList(const ListKind& kind, RowList& list, Entries& synced);
    void KeepForeignEntries(const ListKind& kind, RowList& list, const Entries& synced);
    void WriteList(const ListKind& kind, RowList& list, Entries& synced);
    void WriteChoices();

    TCustomIniFile& settings_;
    RowList& applications_;
    RowList& numbers_;
    Choices choices_;
    StartValue& startValue_;
    std::string programFolder_;
    int tag_ = 0;
    bool unreadable_ = false;
    // The entries as last read from or written to the file, per list: what "changed since" is measured by.
    Entries syncedApplications_;
    Entries syncedNumbers_;
    // The file's content version at that point: while it stays the same, no one else has written.
    std::string syncedVersion_;
};

} // namespace vur::configurator
