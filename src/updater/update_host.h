// Seam: what the update run needs of its window, the download client and the file system.
#pragma once

#include <cstdint>
#include <string>

#include "shared/ed25519.h"
#include "updater/file_replace.h"

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
    // Creates (truncates) `target` and fetches `url` into it; false when the fetch fails. `checksum` is the
    // file checksum of what was stored (FileCRC32 of the file); `watcher`, when not null, sees every byte
    // stored. A target that cannot be created raises.
    virtual bool Download(const std::string& url, const std::string& target, std::uint32_t& checksum,
                          DownloadWatcher* watcher) = 0;
    // A small file (a signature) fetched into memory; false when the fetch fails.
    virtual bool Fetch(const std::string& url, std::string& body) = 0;
    // The key every list and file must be signed with: the build's.
    virtual const ed25519::PublicKey& TrustedKey() = 0;
    // The serial of the last list accepted (0 when none), kept in the settings file, and keeping a new one.
    virtual std::uint64_t AcceptedSerial() = 0;
    virtual void KeepSerial(std::uint64_t serial) = 0;
    // The whole file; raises when it cannot be read.
    virtual std::string ReadWholeFile(const std::string& path) = 0;
    virtual std::uint32_t Checksum(const std::string& path) = 0; // FileCRC32 with the initial value -1
    // A failure is ignored. (Not DeleteFile: that is the Windows API's macro.)
    virtual void RemoveFile(const std::string& path) = 0;
    virtual void Message(const std::string& text, const std::string& caption) = 0; // OK only
    virtual void OpenUpdatePage() = 0;
    virtual ReplaceSystem& Files() = 0;
};

} // namespace vur::updater
