// Putting a verified download in place of the installed file, and scheduling it for the next start of
// Windows when the file is in use: MoveFileEx on the NT family, the "[rename]" section of WININIT.INI on
// the 9x family. The installed file is never deleted before its replacement is certain.
#pragma once

#include <string>
#include <vector>

namespace vur::updater {

// Seam: the file operations the replacement needs.
class ReplaceSystem {
public:
    virtual ~ReplaceSystem() = default;
    virtual bool IsNT() = 0;
    virtual bool Exists(const std::string& path) = 0;
    // The full paths of the files whose full path begins with `prefix` and ends with `suffix`, in the folder
    // of `prefix` (their long names, not matches of short names).
    virtual std::vector<std::string> FindFiles(const std::string& prefix, const std::string& suffix) = 0;
    virtual void MakeArchiveOnly(const std::string& path) = 0; // clears read-only; a failure is ignored
    virtual bool Delete(const std::string& path) = 0;
    virtual bool Move(const std::string& from, const std::string& to) = 0; // fails when `to` exists
    virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0; // NT: in one step
    virtual bool MoveAtRestart(const std::string& from, const std::string& to) = 0; // NT: MoveFileEx, flags 5
    // 9x: the path's short (8.3) form in upper case; the upper-cased path when there is no short form.
    virtual std::string ShortUpperPath(const std::string& path) = 0;
    // WININIT.INI in the Windows folder: reading (false with `exists` false when there is none) and writing
    // the whole file (a read-only file made writable first); false on an I/O error.
    virtual bool ReadWininit(std::string& bytes, bool& exists) = 0;
    virtual bool WriteWininit(const std::string& bytes) = 0;
};

enum class Replaced {
    Now,           // the new file is in place
    AtRestart,     // scheduled: the new file takes over at the next start of Windows
    NotScheduled,  // in use, and the schedule could not be written: the installed file stays as it is
};

// `temporary` is the verified download beside `target`. (The name ReplaceFile is the Windows API's macro.)
Replaced ReplaceInstalledFile(ReplaceSystem& system, const std::string& temporary, const std::string& target);

// Schedules the move of `source` onto `target` for the next start of Windows; false when it cannot.
bool ScheduleReplace(ReplaceSystem& system, const std::string& source, const std::string& target);

// WININIT.INI as lines, with `entry` ("TARGET=SOURCE") added to its "[rename]" section: after the section's
// last non-empty line, or with a new section at the end.
std::vector<std::string> WithRenameEntry(std::vector<std::string> lines, const std::string& entry);

} // namespace vur::updater
