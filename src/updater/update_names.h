// Where a listed file may go: only below the program folder. The list comes from a server, so a name that
// would reach anywhere else is refused before anything is written for it.
#pragma once

#include <string>

#include "shared/relative_path.h"

namespace vur::updater {

// Empty when a listed name may be taken: a plain relative path (shared/relative_path.h) that also holds none
// of "=", ";", "[" and "]", which would break the line of WININIT.INI that schedules it on the 9x family.
// Otherwise why not, in German.
std::string UpdateNameRefusalReason(const std::string& file);

// The listed name as a path below `programFolder` (which ends with its backslash), "/" turned into "\".
std::string LocalPath(const std::string& programFolder, const std::string& file);

// Downloads go next to the file, to a name made from the file's signed SHA-512 (its first 8 bytes in hex):
// the full path with "update" + 16 hex digits + ".tmp" appended. A file scheduled for the next start of
// Windows has been verified, so it holds exactly the bytes its name stands for; a file of that name with
// other bytes was never scheduled, and only such a one is ever written again.
constexpr char kTemporaryHead[] = "update";
constexpr char kTemporaryTail[] = ".tmp";
std::string TemporaryPath(const std::string& localPath, const unsigned char* sha512);

// Whether a file name is a download name (also the plain "update.tmp" of earlier versions), for folders that
// are published or cleaned.
bool IsTemporaryName(const std::string& name);
// Whether `path` is a download name of the file `localPath`.
bool IsTemporaryPathOf(const std::string& localPath, const std::string& path);

} // namespace vur::updater
