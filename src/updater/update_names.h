// Where a listed file may go: only below the program folder. The list comes from a server, so a name that
// would reach anywhere else is refused before anything is written for it.
#pragma once

#include <string>

namespace vur::updater {

// Empty when `file` is a plain relative path below the program folder (components separated by "\" or
// "/"); otherwise why not, in German for the user's message: an absolute path, a drive letter, a UNC name,
// "." or "..", a colon (alternate data streams), a device name (CON, NUL, COM1, ...), characters that no
// file name may hold, a component ending in a dot or blank, an empty component.
std::string RefusalReason(const std::string& file);

// The listed name as a path below `programFolder` (which ends with its backslash), "/" turned into "\".
std::string LocalPath(const std::string& programFolder, const std::string& file);

// The download goes next to the file: its full path with "update.tmp" appended.
std::string TemporaryPath(const std::string& localPath);

} // namespace vur::updater
