// Parsing, look-up, editing and writing of private-profile text.
#include "shared/ini_document.h"

namespace vur {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Trimmed(const std::string& text) { return Trimmed(text, 0, text.size()); }

char FoldedChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    // Latin-1 capitals (without the multiplication sign) and the CP1252 pairs S/Z/OE with caron or ligature.
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
    if (b == 0x9F) return static_cast<char>(0xFF);
    return c;
}

// Lines without "=", empty names and ";" comments are not listed, as with the platform's functions.
bool Listed(const std::string& key) { return !key.empty() && key[0] != ';'; }

} // namespace

std::string FoldedName(const std::string& name, NameMatching matching) {
    std::string folded = Trimmed(name);
    if (matching == NameMatching::IgnoreCase)
        for (char& c : folded) c = FoldedChar(c);
    return folded;
}

IniDocument::IniDocument(NameMatching matching) : matching_(matching) {
    sections_.emplace_back();
    sections_.back().headed = false;
}

IniDocument IniDocument::Parse(const std::string& bytes, NameMatching matching) {
    IniDocument doc(matching);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string text = Trimmed(bytes, start, end);
        start = end + 1;
        const std::size_t close = text.rfind(']');
        if (!text.empty() && text[0] == '[' && close != std::string::npos) {
            doc.sections_.emplace_back();
            doc.sections_.back().name = Trimmed(text, 1, close);
            continue;
        }
        // Blank lines go, as when the platform rewrites a file.
        if (text.empty()) continue;
        Line line;
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos) {
            line.key = text;
        } else {
            line.key = Trimmed(text, 0, equals);
            line.value = Trimmed(text, equals + 1, text.size());
            line.hasValue = true;
        }
        doc.sections_.back().lines.push_back(std::move(line));
    }
    doc.Reindex();
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Section& section : sections_) {
        if (section.headed) out += "[" + section.name + "]\r\n";
        for (const Line& line : section.lines) {
            out += line.key;
            if (line.hasValue) out += "=" + line.value;
            out += "\r\n";
        }
    }
    return out;
}

void IniDocument::Reindex() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].headed) sectionIndex_.emplace(Folded(sections_[i].name), i);
        sections_[i].indexed = false;
        sections_[i].keyIndex.clear();
    }
}

std::size_t IniDocument::FirstSection(const std::string& folded) const {
    const auto it = sectionIndex_.find(folded);
    return it == sectionIndex_.end() ? kNone : it->second;
}

std::size_t IniDocument::FirstKey(const Section& section, const std::string& folded) const {
    if (!section.indexed) {
        // Only lines with "=" are keys: a line without one that reads like a key name must not hide the key.
        for (std::size_t i = 0; i < section.lines.size(); ++i)
            if (section.lines[i].hasValue) section.keyIndex.emplace(Folded(section.lines[i].key), i);
        section.indexed = true;
    }
    const auto it = section.keyIndex.find(folded);
    return it == section.keyIndex.end() ? kNone : it->second;
}

bool IniDocument::Find(const std::string& section, const std::string& key, std::string& value) const {
    const std::size_t s = FirstSection(Folded(section));
    const std::size_t k = s == kNone ? kNone : FirstKey(sections_[s], Folded(key));
    if (k == kNone || !sections_[s].lines[k].hasValue) return false;
    const std::string& v = sections_[s].lines[k].value;
    const bool quoted = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
    value = quoted ? v.substr(1, v.size() - 2) : v;
    return true;
}

void IniDocument::Set(const std::string& section, const std::string& key, const std::string& value) {
    const std::string foldedSection = Folded(section), foldedKey = Folded(key);
    Line fresh;
    fresh.hasValue = true;
    fresh.key = Trimmed(key);
    fresh.value = Trimmed(value);
    std::size_t index = FirstSection(foldedSection);
    if (index == kNone) {
        index = sections_.size();
        sections_.emplace_back();
        sections_.back().name = Trimmed(section);
        sectionIndex_.emplace(foldedSection, index);
    }
    Section* s = &sections_[index];
    const std::size_t k = FirstKey(*s, foldedKey);
    if (k != kNone) {
        s->lines[k].hasValue = true;
        s->lines[k].value = fresh.value;
        return;
    }
    s->keyIndex.emplace(foldedKey, s->lines.size());
    s->lines.push_back(std::move(fresh));
}

std::vector<std::string> IniDocument::KeyNames(const std::string& section) const {
    std::vector<std::string> names;
    const std::size_t s = FirstSection(Folded(section));
    if (s != kNone)
        for (const Line& line : sections_[s].lines)
            if (line.hasValue && Listed(line.key)) names.push_back(line.key);
    return names;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& s : sections_)
        if (s.headed) names.push_back(s.name);
    return names;
}

void IniDocument::EraseSection(const std::string& section) {
    const std::string folded = Folded(section);
    std::vector<Section> kept;
    for (Section& s : sections_)
        if (!s.headed || Folded(s.name) != folded) kept.push_back(std::move(s));
    sections_ = std::move(kept);
    Reindex();
}

void IniDocument::DeleteKey(const std::string& section, const std::string& key) {
    const std::string foldedSection = Folded(section), foldedKey = Folded(key);
    for (Section& s : sections_) {
        if (!s.headed || Folded(s.name) != foldedSection) continue;
        std::vector<Line> kept;
        for (Line& line : s.lines)
            if (Folded(line.key) != foldedKey) kept.push_back(std::move(line));
        s.lines = std::move(kept);
        s.indexed = false;
        s.keyIndex.clear();
    }
}

} // namespace vur
