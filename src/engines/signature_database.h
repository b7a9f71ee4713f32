// The signature engine's knowledge: the signatures of every file loaded, and the scan of one file against
// them in one pass of large reads.
#pragma once

#include "engines/signature_file.h"
#include "engines/signature_matcher.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vur::engines {

class SignatureDatabase {
public:
    // Adds what the file holds; returns how many signatures it loaded.
    std::size_t Add(const SignatureFile& file);
    std::size_t Count() const { return patterns_.size() + hashes_.size(); }

    // The name of the first signature that matches the file, or "" (also when it cannot be read). Patterns
    // are found while the file is read; a whole-file hash is computed only when the file's size is one that a
    // hash signature names. `readError` (when given) becomes the system's error code when the file could not
    // be opened or read, 0 otherwise; with no signatures loaded the file is not opened and it stays 0.
    std::string Scan(const std::string& path, std::uint32_t* readError = nullptr) const;

private:
    const SignatureMatcher& Matcher() const;

    std::vector<PatternSignature> patterns_;
    std::vector<HashSignature> hashes_;
    std::multimap<std::uint64_t, std::size_t> hashesBySize_;
    mutable std::unique_ptr<SignatureMatcher> matcher_; // built at the first scan after a change
};

} // namespace vur::engines
