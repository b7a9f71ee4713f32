// The quarantine folder as the manager lists it: one entry per description file with its data file, and the
// orphans, either half without the other. Sorting and the texts of the list and of the total below it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vault/quarantine_files.h"

namespace vur::vault {

enum class EntryKind {
    Complete,              // description and data file
    DataMissing,           // a description without its data file
    DescriptionMissing,    // a data file without its description
    DescriptionUnreadable, // a description that cannot be read or names no plain file
};

struct QuarantineEntry {
    EntryKind kind = EntryKind::Complete;
    std::string descriptionName; // "N.dat"; empty for a data file without description
    std::string dataName;        // "N.dat.file"; empty when the data file is missing
    // From the description: the isolated file's name, the folder it came from (with its backslash), why.
    std::string fileName, folder, reason;
    std::uint64_t size = 0;      // of the data file
    std::uint64_t isolated = 0;  // the description's write time, the moment of isolation; else the data file's
    // The name the pair is known by, also across a re-read: the description's name, else the data file's.
    const std::string& Key() const { return descriptionName.empty() ? dataName : descriptionName; }
    bool CanRestore() const { return kind == EntryKind::Complete; }
};

struct QuarantineListing {
    bool folderFound = false;
    std::vector<QuarantineEntry> entries;
};

// Reads `quarantineFolder` (ending with its backslash). Files that belong to no pair are not listed.
QuarantineListing ListQuarantine(const std::string& quarantineFolder, QuarantineFiles& files);

// Parses a description file's text (CR LF or LF). False when it does not name a plain file name and a full
// folder: such a description cannot say where its file belongs.
bool ParseDescription(const std::string& text, std::string& fileName, std::string& folder, std::string& reason);

enum class Column { File, Folder, Reason, Isolated, Size, Count };

// Sorts by one column, up or down; equal rows keep a fixed order (by their key), so a re-read does not
// shuffle them.
void SortEntries(std::vector<QuarantineEntry>& entries, Column column, bool ascending);

// The texts of one row of the list, one per column.
std::vector<std::string> RowTexts(const QuarantineEntry& entry, QuarantineFiles& files);

// "3 Dateien in Quarantäne, zusammen 1,2 MB"; the empty and the missing folder have texts of their own.
std::string TotalText(const QuarantineListing& listing);

std::string SizeText(std::uint64_t bytes);
std::string DateText(const LocalTime& time);

} // namespace vur::vault
