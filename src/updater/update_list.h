// The update list "updates.dat": entries of five lines (display name, file name relative to the program
// folder, size in bytes, signed 32-bit checksum, download URL), read one entry at a time as the run goes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shared/errors.h"

namespace vur::updater {

struct UpdateEntry {
    std::string name;
    std::string file;
    std::int32_t size = 0;
    std::int32_t checksum = 0; // the file checksum as a signed number: 0xFFFFFFFF is -1
    std::string url;
};

// A size or checksum line that is not a decimal 32-bit number: "'12x' is not a valid integer value".
class EUpdateListError : public EVurError {
public:
    using EVurError::EVurError;
};

// The list's lines, split at CR LF or LF; a final line break ends the last line.
class UpdateListReader {
public:
    explicit UpdateListReader(const std::string& bytes);

    // The next entry; false at the end of the list, also when the last entry has only its first line. Lines
    // missing after that read as empty, so a cut-short entry fails on its size or checksum line.
    bool Next(UpdateEntry& entry);

private:
    std::string ReadLine();
    bool AtEnd() const { return next_ >= lines_.size(); }

    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

// Whether the local file's checksum is the one the list gives.
bool ChecksumMatches(std::uint32_t fileChecksum, std::int32_t listed);

} // namespace vur::updater
