// Seam: what the update run needs of its window, the download client and the file system.
#pragma once

#include <cstdint>
#include <string>

#include "shared/ed25519.h"
#include "updater/file_replace.h"
#include "updater/update_manifest.h"

namespace vur::updater {

// Sees every byte of a download as it arrives, for checks that need not read the file back.
class DownloadWatcher {
public:
    virtual ~DownloadWatcher() = default;
    virtual void Received(const char* bytes, std::size_t length) = 0;
};

class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    virtual std::string ProgramFolder() = 0; // with its trailing backslash
    virtual std::string ServerUrl() = 0;     // the list is its "/updates.dat"
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void StartProgressTimer() = 0;
    // Creates `target`, which must not exist yet (a name that is there, or one that cannot be created,
    // raises), and fetches `url` into it: at most `limit` bytes, within the time that `limit` bytes may take
    // on a slow line. False when the fetch fails, runs over its size or over its time; `checksum` is then
    // still the file checksum of what was stored (FileCRC32 of the file), and `watcher`, when not null, has
    // seen every byte stored. A write that fails raises, for a full disk with a German message that names
    // the drive.
    virtual bool Download(const std::string& url, const std::string& target, std::uint64_t limit,
                          std::uint32_t& checksum, DownloadWatcher* watcher) = 0;
    // A small file (the list, its signature) fetched into memory; false when the fetch fails or the body
    // would exceed `limit` bytes.
    virtual bool Fetch(const std::string& url, std::string& body, std::size_t limit) = 0;
    // The key every list must be signed with: the build's.
    virtual const ed25519::PublicKey& TrustedKey() = 0;
    // The serial of the last list accepted, kept in the settings file; the build's minimum when none was
    // kept or the stored one cannot be read. And keeping a new one.
    virtual std::uint64_t AcceptedSerial() = 0;
    virtual void KeepSerial(std::uint64_t serial) = 0;
    // Writes a whole file (the verified list, for the user's reference); false when it cannot.
    virtual bool StoreFile(const std::string& path, const std::string& bytes) = 0;
    // The SHA-512 of a file; false when it cannot be read.
    virtual bool FileHash(const std::string& path, Sha512Hash& hash) = 0;
    virtual std::uint32_t Checksum(const std::string& path) = 0; // FileCRC32 with the initial value -1
    // A failure is ignored. (Not DeleteFile: that is the Windows API's macro.)
    virtual void RemoveFile(const std::string& path) = 0;
    virtual void Message(const std::string& text, const std::string& caption) = 0; // OK only
    virtual void OpenUpdatePage() = 0;
    virtual ReplaceSystem& Files() = 0;
};

} // namespace vur::updater
