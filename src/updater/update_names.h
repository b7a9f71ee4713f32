// Where a listed file may go: only below the program folder. The list comes from a server, so a name that
// would reach anywhere else is refused before anything is written for it.
#pragma once

#include <string>

#include "shared/relative_path.h"

namespace vur::updater {

// A listed name is taken only when it is a plain relative path (shared/relative_path.h).
using vur::RefusalReason;

// The listed name as a path below `programFolder` (which ends with its backslash), "/" turned into "\".
std::string LocalPath(const std::string& programFolder, const std::string& file);

// The download goes next to the file: its full path with "update.tmp" appended.
std::string TemporaryPath(const std::string& localPath);

} // namespace vur::updater
