// What the stand-in engines recognise: byte patterns anywhere in a file, read in bounded chunks.
#pragma once

#include <string>
#include <vector>

namespace standin {

struct Signature {
    std::string name;
    std::string pattern;
};

// Signature file lines: "name|pattern"; the pattern is literal text, or "hex:" and hex digit pairs.
// Blank lines and lines starting with ';' are skipped, as are lines without a name or pattern.
std::vector<Signature> ParseSignatureFile(const std::string& content);

// Index of the first signature whose pattern occurs in the file, or -1 (also when it cannot be read).
int FindFirstMatch(const std::string& path, const std::vector<Signature>& signatures);

} // namespace standin
