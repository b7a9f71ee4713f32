// Listing the quarantine folder: pairing description and data files, the rows' texts, sorting.
#include "vault/quarantine_listing.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

#include "shared/relative_path.h"
#include "shared/text_case.h"
#include "shared/text_lines.h"
#include "vault/vault_texts.h"

namespace vur::vault {

namespace {

constexpr char kDescriptionEnd[] = ".dat";
constexpr char kDataEnd[] = ".dat.file";
// Description files hold three short lines; a bigger file is not one of ours.
constexpr std::size_t kLongestDescription = 16 * 1024;

bool EndsWith(const std::string& lowerName, const std::string& end) {
    return lowerName.size() > end.size() && lowerName.compare(lowerName.size() - end.size(), end.size(), end) == 0;
}

// "C:\x\" or "\\server\share\x\": a full folder whose parts are plain names.
bool IsFullFolder(const std::string& folder) {
    if (folder.size() < 3 || folder.back() != '\\') return false;
    std::string rest;
    if (folder.compare(0, 2, "\\\\") == 0) {
        rest = folder.substr(2);
        if (std::count(rest.begin(), rest.end(), '\\') < 2) return false; // server and share
    } else if (std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' && folder[2] == '\\') {
        rest = folder.substr(3);
        if (rest.empty()) return true; // the root of a drive
    } else {
        return false;
    }
    rest.pop_back();
    return RefusalReason(rest).empty();
}

std::string CompareText(const std::string& text) { return LowerCp1252(text); }

} // namespace

bool ParseDescription(const std::string& text, std::string& fileName, std::string& folder, std::string& reason) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.size() < 2) return false;
    if (!FileNameRefusalReason(lines[0]).empty() || !IsFullFolder(lines[1])) return false;
    fileName = lines[0];
    folder = lines[1];
    reason = lines.size() > 2 ? lines[2] : std::string();
    return true;
}

QuarantineListing ListQuarantine(const std::string& quarantineFolder, QuarantineFiles& files) {
    QuarantineListing listing;
    std::vector<FolderFile> found;
    listing.folderFound = files.ListFiles(quarantineFolder, found);
    if (!listing.folderFound) return listing;

    // Pairs by their stem in lower case, as Windows compares file names.
    struct Halves {
        const FolderFile* description = nullptr;
        const FolderFile* data = nullptr;
    };
    std::map<std::string, Halves> pairs;
    for (const FolderFile& file : found) {
        const std::string lower = LowerCp1252(file.name);
        if (EndsWith(lower, kDataEnd))
            pairs[lower.substr(0, lower.size() - sizeof kDataEnd + 1)].data = &file;
        else if (EndsWith(lower, kDescriptionEnd))
            pairs[lower.substr(0, lower.size() - sizeof kDescriptionEnd + 1)].description = &file;
    }

    for (const auto& [stem, halves] : pairs) {
        QuarantineEntry entry;
        if (halves.data) {
            entry.dataName = halves.data->name;
            entry.size = halves.data->size;
            entry.isolated = halves.data->writeTime;
        }
        if (!halves.description) {
            entry.kind = EntryKind::DescriptionMissing;
            listing.entries.push_back(entry);
            continue;
        }
        entry.descriptionName = halves.description->name;
        entry.isolated = halves.description->writeTime;
        std::string text;
        const bool readable = halves.description->size <= kLongestDescription &&
                              files.ReadSmallFile(quarantineFolder + entry.descriptionName, text) &&
                              ParseDescription(text, entry.fileName, entry.folder, entry.reason);
        if (!readable) entry.kind = EntryKind::DescriptionUnreadable;
        else entry.kind = halves.data ? EntryKind::Complete : EntryKind::DataMissing;
        listing.entries.push_back(entry);
    }
    SortEntries(listing.entries, Column::Isolated, false);
    return listing;
}

void SortEntries(std::vector<QuarantineEntry>& entries, Column column, bool ascending) {
    auto key = [column](const QuarantineEntry& e) {
        switch (column) {
        case Column::File: return std::make_tuple(CompareText(e.fileName.empty() ? e.Key() : e.fileName), 0ULL);
        case Column::Folder: return std::make_tuple(CompareText(e.folder), 0ULL);
        case Column::Reason: return std::make_tuple(CompareText(e.reason), 0ULL);
        case Column::Size: return std::make_tuple(std::string(), static_cast<unsigned long long>(e.size));
        default: return std::make_tuple(std::string(), static_cast<unsigned long long>(e.isolated));
        }
    };
    std::sort(entries.begin(), entries.end(), [&](const QuarantineEntry& a, const QuarantineEntry& b) {
        const auto ka = key(a), kb = key(b);
        if (ka != kb) return ascending ? ka < kb : kb < ka;
        return a.Key() < b.Key();
    });
}

std::vector<std::string> RowTexts(const QuarantineEntry& entry, QuarantineFiles& files) {
    const std::string date = DateText(files.ToLocalTime(entry.isolated));
    switch (entry.kind) {
    case EntryKind::Complete:
        return {entry.fileName, entry.folder, entry.reason, date, SizeText(entry.size)};
    case EntryKind::DataMissing:
        return {entry.fileName, entry.folder, entry.reason, date, texts::kDataMissing};
    case EntryKind::DescriptionMissing:
        return {entry.dataName, texts::kUnknownFolder, texts::kDescriptionMissing, date, SizeText(entry.size)};
    case EntryKind::DescriptionUnreadable:
        break;
    }
    return {entry.descriptionName, texts::kUnknownFolder, texts::kDescriptionUnreadable, date,
            entry.dataName.empty() ? texts::kDataMissing : SizeText(entry.size)};
}

namespace {

// `value` in decimal with at least `width` digits.
std::string Digits(std::uint64_t value, std::size_t width) {
    std::string text = std::to_string(value);
    return text.size() < width ? std::string(width - text.size(), '0') + text : text;
}

} // namespace

// Kilo- or megabytes with one decimal after a comma, rounded to the nearest tenth, a tie to the even one.
std::string SizeText(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " Byte" : " Bytes");
    const bool mega = bytes >= 1024 * 1024;
    const std::uint64_t unit = mega ? 1024 * 1024 : 1024;
    const std::uint64_t part = bytes % unit * 10;
    std::uint64_t tenths = bytes / unit * 10 + part / unit;
    const std::uint64_t rest = part % unit * 2;
    if (rest > unit || (rest == unit && tenths % 2 == 1)) ++tenths;
    return std::to_string(tenths / 10) + "," + Digits(tenths % 10, 1) + (mega ? " MB" : " KB");
}

std::string DateText(const LocalTime& time) {
    auto two = [](int value) { return Digits(static_cast<std::uint64_t>(value), 2); };
    return two(time.day) + "." + two(time.month) + "." + Digits(static_cast<std::uint64_t>(time.year), 4) + " " +
           two(time.hour) + ":" + two(time.minute);
}

std::string TotalText(const QuarantineListing& listing) {
    if (!listing.folderFound) return texts::kFolderMissing;
    if (listing.entries.empty()) return texts::kEmpty;
    std::uint64_t total = 0;
    for (const QuarantineEntry& entry : listing.entries) total += entry.size;
    const std::size_t count = listing.entries.size();
    return (count == 1 ? std::string(texts::kOneFile) : std::to_string(count) + texts::kFilesPrefix) +
           SizeText(total);
}

} // namespace vur::vault
