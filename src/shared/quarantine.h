// The quarantine store: a file is moved into "quarantäne\" under a random number, beside a description
// file of three lines (file name, folder, reason) that the quarantine manager lists.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vur {

const char* const kQuarantineFolder = "quarantäne\\";
const char* const kReasonDialer = "0190 Dialer";
const char* const kReasonSuspiciousPrefix = "Verdächtig: ";

// Seam: the file system and clock calls of an isolation.
class QuarantineSystem {
public:
    virtual ~QuarantineSystem() = default;
    virtual void Wait(unsigned milliseconds) = 0;
    virtual std::uint32_t ClockSeed() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // Creates the file only when no file of that name exists; false when it exists. Raises EVurError on any
    // other failure (for instance a missing quarantine folder).
    virtual bool CreateNewTextFile(const std::string& path, const std::string& content) = 0;
    virtual void ClearAttributes(const std::string& path) = 0;
    // The plain move: never replaces a target, copies and deletes across volumes.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// The system's own calls (Windows builds only).
QuarantineSystem& SystemQuarantine();

// Isolates `path`; the program folder is asked for anew on every naming attempt. Returns whether the file
// was moved: the move succeeded and the source is gone. When it is still there the copy is removed, and when
// the move fails or leaves the source the description file is removed again, so that no entry without its
// data file is left for the quarantine manager. Raises EVurError when the description file cannot be created.
bool IsolateFileChecked(const std::string& path, const std::string& reason,
                        const std::function<std::string()>& programFolder, QuarantineSystem& system);

// The monitor's form: the result of the move is not looked at.
void IsolateFile(const std::string& path, const std::string& reason, const std::string& programFolder,
                 QuarantineSystem& system);

} // namespace vur
