// Signature parsing and a chunked search that also finds patterns straddling two chunks.
#include "pattern_search.h"

#include "shared/file_reader.h"

#include <algorithm>

namespace standin {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool DecodePattern(const std::string& text, std::string& pattern) {
    if (text.compare(0, 4, "hex:") != 0) {
        pattern = text;
        return !pattern.empty();
    }
    const std::string digits = text.substr(4);
    if (digits.empty() || digits.size() % 2) return false;
    pattern.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int hi = HexDigit(digits[i]), lo = HexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) return false;
        pattern += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

} // namespace

std::vector<Signature> ParseSignatureFile(const std::string& content) {
    std::vector<Signature> result;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        const std::size_t bar = line.find('|');
        if (bar == 0 || bar == std::string::npos) continue;
        Signature signature{line.substr(0, bar), ""};
        if (DecodePattern(line.substr(bar + 1), signature.pattern)) result.push_back(signature);
    }
    return result;
}

int FindFirstMatch(const std::string& path, const std::vector<Signature>& signatures) {
    if (signatures.empty()) return -1;
    std::size_t longest = 0;
    for (const auto& s : signatures) longest = std::max(longest, s.pattern.size());

    vur::SharedFileReader file;
    if (!file.Open(path)) return -1;
    const std::size_t chunkBytes = 256 * 1024;
    std::string window; // the tail of the previous chunk, so a pattern across the boundary is found
    std::string chunk(chunkBytes, '\0');
    for (;;) {
        const long got = file.Read(&chunk[0], chunkBytes);
        if (got <= 0) return -1;
        window.append(chunk, 0, static_cast<std::size_t>(got));
        for (std::size_t i = 0; i < signatures.size(); ++i)
            if (window.find(signatures[i].pattern) != std::string::npos) return static_cast<int>(i);
        if (window.size() >= longest) window.erase(0, window.size() - (longest - 1));
    }
}

} // namespace standin
