// Seam: what the update run needs of its window, the download client and the file system.
#pragma once

#include <cstdint>
#include <string>

#include "updater/file_replace.h"

namespace vur::updater {

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
    // file checksum of what was stored (FileCRC32 of the file). A target that cannot be created raises.
    virtual bool Download(const std::string& url, const std::string& target, std::uint32_t& checksum) = 0;
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
