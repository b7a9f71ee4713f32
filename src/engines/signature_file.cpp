// Reading the lines of a signature file; see signature_file.h for the format.
#include "engines/signature_file.h"

#include "engines/signature_matcher.h"

#include <algorithm>

namespace vur::engines {

namespace {

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '|') fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

bool ParseDecimal(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

bool ParseDigest(const std::string& text, std::string& digest) {
    if (text.size() != 128) return false;
    digest.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (std::size_t j = i; j < i + 2; ++j) {
            const char c = text[j];
            const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (v < 0) return false;
            value = value * 16 + v;
        }
        digest += static_cast<char>(value);
    }
    return true;
}

bool ParseWhere(const std::string& text, PatternSignature& signature) {
    if (text == "any") return true;
    if (text.compare(0, 7, "offset:") == 0) {
        signature.where = PatternSignature::Where::Offset;
        return ParseDecimal(text.substr(7), signature.offset);
    }
    if (text.compare(0, 8, "section:") == 0) {
        signature.where = PatternSignature::Where::Section;
        signature.section = text.substr(8);
        return !signature.section.empty() && signature.section.size() <= 8;
    }
    return false;
}

bool ParseLine(const std::string& line, SignatureFile& file) {
    const std::vector<std::string> f = SplitFields(line);
    if (f.size() != 4 || f[1].empty() || f[1].size() > kMaxSignatureName) return false;
    if (f[0] == "pattern") {
        PatternSignature signature;
        signature.name = f[1];
        if (!ParseWhere(f[2], signature) || !ParseHexPattern(f[3], signature.pattern)) return false;
        file.patterns.push_back(std::move(signature));
        return true;
    }
    if (f[0] == "hash") {
        HashSignature signature;
        signature.name = f[1];
        if (!ParseDecimal(f[2], signature.size) || !ParseDigest(f[3], signature.digest)) return false;
        file.hashes.push_back(std::move(signature));
        return true;
    }
    return false;
}

} // namespace

SignatureFile ParseSignatureFile(const std::string& content) {
    SignatureFile file;
    std::vector<int> patternLines;
    std::size_t start = 0;
    for (int number = 1; start < content.size(); ++number) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        const std::size_t patternsBefore = file.patterns.size();
        if (!ParseLine(line, file)) file.malformedLines.push_back(number);
        else if (file.patterns.size() > patternsBefore) patternLines.push_back(number);
    }

    // Refuse every pattern that finds the file itself.
    for (;;) {
        SignatureMatcher matcher(file.patterns);
        const int hit = matcher.FindInBuffer(reinterpret_cast<const unsigned char*>(content.data()), content.size());
        if (hit < 0) break;
        file.malformedLines.push_back(patternLines[static_cast<std::size_t>(hit)]);
        file.patterns.erase(file.patterns.begin() + hit);
        patternLines.erase(patternLines.begin() + hit);
    }
    std::sort(file.malformedLines.begin(), file.malformedLines.end());
    return file;
}

} // namespace vur::engines
