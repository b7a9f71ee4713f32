// The text format of the signature files "signaturen\*.dat" (documented in the README, "Signature files").
//
// One signature per line, fields separated by '|':
//   pattern|NAME|WHERE|HEX      content pattern; WHERE is "any", "offset:N" (first byte at file offset N,
//                               decimal) or "section:NAME" (the whole match inside that PE section's data)
//   hash|NAME|SIZE|SHA512       whole file: its size in bytes and its SHA-512 digest in 128 hex digits
// Blank lines and lines starting with ';' are skipped; a line that does not follow the format is skipped and
// counted as malformed.
#pragma once

#include "engines/hex_pattern.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vur::engines {

// A result holds at most 255 characters; a name is kept shorter so that it always fits whole.
constexpr std::size_t kMaxSignatureName = 200;

struct PatternSignature {
    std::string name;
    HexPattern pattern;
    enum class Where { Any, Offset, Section } where = Where::Any;
    std::uint64_t offset = 0;
    std::string section;
};

struct HashSignature {
    std::string name;
    std::uint64_t size = 0;
    std::string digest; // 64 bytes
};

struct SignatureFile {
    std::vector<PatternSignature> patterns;
    std::vector<HashSignature> hashes;
    std::vector<int> malformedLines; // 1-based line numbers
    std::size_t Loaded() const { return patterns.size() + hashes.size(); }
};

// A pattern that matches the signature file's own text is refused as malformed, so that no signature file can
// be reported as the dialer it describes.
SignatureFile ParseSignatureFile(const std::string& content);

} // namespace vur::engines
