// Seam: what the quarantine manager asks of the file system, so that its logic runs over a fake folder in
// the unit tests and over the system's calls in vault.exe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vur::vault {

// A file of a folder: its name, size and last write time (100-ns ticks since 1601, as Windows counts them).
struct FolderFile {
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
};

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

class QuarantineFiles {
public:
    virtual ~QuarantineFiles() = default;
    // The files of `folder` (which ends with its backslash), without sub-folders; false when the folder
    // cannot be listed (it is missing, for one).
    virtual bool ListFiles(const std::string& folder, std::vector<FolderFile>& files) = 0;
    // The whole of a small text file; false when it cannot be read.
    virtual bool ReadSmallFile(const std::string& path, std::string& content) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& folder) = 0;
    // Creates `folder` with every missing folder above it.
    virtual bool CreateFolders(const std::string& folder) = 0;
    // The plain move: never replaces a target; across volumes it copies and deletes.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Why the last call failed, in the system's words.
    virtual std::string LastError() = 0;
    virtual LocalTime ToLocalTime(std::uint64_t fileTime) = 0;
};

} // namespace vur::vault
