// The private-profile text format in memory: parsed from bytes, edited, and turned back into bytes.
//
// It behaves as the platform's private-profile functions do: section and key names match without regard to
// letter case (CP1252) unless exact matching is asked for, the first section and the first key of a name
// win, file order is kept, blanks around names and values are trimmed, a value in matching quotes reads
// without them, lines end in CR LF, blank lines are dropped when the file is written again. Comments, lines
// without "=" and text before the first section are kept as they are.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace vur {

// How names are compared. Sealed names need Exact: two tokens of different names can differ in letter
// case only, and must not find each other's line.
enum class NameMatching { IgnoreCase, Exact };

// The trimmed name as comparison sees it (CP1252 letters folded to lower case for IgnoreCase).
std::string FoldedName(const std::string& name, NameMatching matching = NameMatching::IgnoreCase);

class IniDocument {
public:
    explicit IniDocument(NameMatching matching = NameMatching::IgnoreCase); // an empty file
    static IniDocument Parse(const std::string& bytes, NameMatching matching = NameMatching::IgnoreCase);
    std::string Serialize() const;

    // False when the section or key is missing, or the key line has no "=".
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    // Replaces the first such key, or appends it to the first such section, or appends a new section.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // Key names of the first such section, without lines lacking "=", empty names and ";" comments.
    std::vector<std::string> KeyNames(const std::string& section) const;
    std::vector<std::string> SectionNames() const;
    // Every section of the name, and every line of the key in every section of the name: once deleted, a
    // hand-made duplicate cannot come back into view.
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

private:
    struct Line {
        bool hasValue = false; // a line without "=" is kept but never found or listed
        std::string key;       // the trimmed name, or the whole trimmed line
        std::string value;
    };
    struct Section {
        bool headed = true; // false only for the lines before the first header
        std::string name;
        std::vector<Line> lines;
        // Folded key name to the index of its first line; built on first look-up.
        mutable std::unordered_map<std::string, std::size_t> keyIndex;
        mutable bool indexed = false;
    };

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // Indexes into sections_ and into a section's lines, or kNone.
    std::size_t FirstSection(const std::string& folded) const;
    std::size_t FirstKey(const Section& section, const std::string& folded) const;
    void Reindex();
    std::string Folded(const std::string& name) const { return FoldedName(name, matching_); }

    NameMatching matching_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // folded name to first section
};

} // namespace vur
