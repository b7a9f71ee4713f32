// The private-profile text format in memory: parsed from bytes, edited, and turned back into bytes.
//
// It behaves as the platform's private-profile functions do: section and key names match without regard to
// letter case (CP1252), the first section and the first key of a name win, file order is kept, blanks around
// names and values are trimmed, a value in matching quotes reads without them, lines end in CR LF. Lines it
// does not understand (comments, blank lines, text before the first section) are kept as they are.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace vur {

// CP1252 letters folded to lower case, as name comparison sees them.
std::string FoldedName(const std::string& name);

class IniDocument {
public:
    static IniDocument Parse(const std::string& bytes);
    std::string Serialize() const;

    // False when the section or key is missing, or the key line has no "=".
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    // Replaces the first such key, or appends it to the first such section, or appends a new section.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // Key names of the first such section, without empty names and ";" comments.
    std::vector<std::string> KeyNames(const std::string& section) const;
    std::vector<std::string> SectionNames() const;
    // Every section of the name, and every line of the key in every section of the name: once deleted, a
    // hand-made duplicate cannot come back into view.
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

private:
    struct Line {
        bool isKey = false;
        bool hasValue = false;
        std::string key; // trimmed key name, or the whole trimmed text of another line
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

    const Section* FirstSection(const std::string& folded) const;
    static const Line* FirstKey(const Section& section, const std::string& folded);
    void Reindex();

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // folded name to first section
};

} // namespace vur
