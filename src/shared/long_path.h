// ExpandLongPath: a full path with every existing component in its long on-disk form.
#pragma once

#include <string>

namespace vur {

// Seam: what the expansion asks of the file system.
// MakeAbsolute() resolves a relative path against the current directory (false when it cannot).
// FindFirstName() searches the directory entries matching `pattern` and gives the long name of the first
// match only (false when none matches); the search is closed before it returns.
class DirectoryLookup {
public:
    virtual ~DirectoryLookup() = default;
    virtual bool MakeAbsolute(const std::string& path, std::string& absolute) const = 0;
    virtual bool FindFirstName(const std::string& pattern, std::string& longName) const = 0;
};

// Expands component by component and stops at the first component that does not exist: the rest is kept as
// it was passed in. Never fails.
std::string ExpandLongPath(const std::string& path, const DirectoryLookup& fileSystem);

// The same on the running system's file system (Windows builds only).
std::string ExpandLongPath(const std::string& path);

} // namespace vur
