// Seam: the settings file on disk while several programs read and write it at once.
//
// Each platform supplies the two classes below.
// - SettingsFileSync is one settings object's link to the cross-process lock (and, where the platform needs
//   one, a change counter shared by all processes). It is held as long as the settings object.
// - LockedSettingsFile is one access: the constructor waits for the lock (shared for reading where the
//   platform can, exclusive for writing) and opens the file; the destructor closes it and releases the lock.
//   A wait longer than kSettingsLockTimeoutMs raises EIniFileError. For reading a missing file is no error
//   (Exists() is false); for writing the file is created. Other programs may hold the file open for reading
//   and writing meanwhile (the monitor keeps it open for reading with FILE_SHARE_READ | FILE_SHARE_WRITE),
//   so the file is never renamed or deleted: Replace() rewrites it in place.
// - Stamp() changes whenever a writer has replaced the content, also within the file system's timestamp
//   granularity; equal stamps mean the content read before is still current.
// - Mark() and StillCurrent() spare readers the lock and the file where opening a file is dear: a mark taken
//   after a full check stays current while no writer of the suite has stored anything since and the last full
//   check is less than kForeignEditDelayMs old (so an edit by another program is seen within that time).
//   Where a full check is cheap, StillCurrent() is always false.
// - ReadAll() returns false on a read error. Replace() first makes room for the new content (so a full disk
//   leaves the old content untouched), then writes it, cuts the file to its length, checks the size and
//   marks the change; any failure raises EIniFileError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vur {

constexpr unsigned kSettingsLockTimeoutMs = 10000;
constexpr unsigned kForeignEditDelayMs = 1000;

struct ChangeMark {
    bool valid = false;
    std::uint32_t generation = 0;
    std::uint32_t takenAt = 0;
};

struct FileStamp {
    std::uint64_t parts[4] = {0, 0, 0, 0};
    bool operator==(const FileStamp& other) const {
        for (int i = 0; i < 4; ++i)
            if (parts[i] != other.parts[i]) return false;
        return true;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

class SettingsFileSync {
public:
    SettingsFileSync();
    ~SettingsFileSync();
    SettingsFileSync(const SettingsFileSync&) = delete;
    SettingsFileSync& operator=(const SettingsFileSync&) = delete;

    ChangeMark Mark();
    bool StillCurrent(const ChangeMark& mark);

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

class LockedSettingsFile {
public:
    LockedSettingsFile(SettingsFileSync& sync, const std::string& path, bool forWriting);
    ~LockedSettingsFile();
    LockedSettingsFile(const LockedSettingsFile&) = delete;
    LockedSettingsFile& operator=(const LockedSettingsFile&) = delete;

    bool Exists() const;
    FileStamp Stamp();
    bool ReadAll(std::string& bytes);
    void Replace(const std::string& bytes);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace vur
