// The file side of the update run on Windows, shared by the updater window and the update benchmark.
#pragma once

#include <cstdint>
#include <string>

#include "updater/HttpProt.h"
#include "updater/update_host.h"

namespace vur::updater {

// Creates the new file `target` (it must not exist), with the folders on its way, and fetches `url` into it
// with `client`: at most `limit` bytes, within the time budget of that size. False when the fetch fails (an
// EHttpException, also for a body over its size or its time). `checksum` is the file checksum of what was
// stored, as FileCRC32 of the file gives it, taken on the way so the file need not be read back; `watcher`,
// when not null, sees every byte written. A target that cannot be created or written raises EVurError, for a
// full disk in German with the drive.
bool DownloadToFile(THttpCli& client, const std::string& url, const std::string& target, std::uint64_t limit,
                    std::uint32_t& checksum, DownloadWatcher* watcher);

// Fetches `url` into memory; false when the fetch fails or the body would be longer than `limit` bytes.
bool FetchToMemory(THttpCli& client, const std::string& url, std::string& body, std::size_t limit);

// The SHA-512 of a file; false when it cannot be read.
bool FileSha512(const std::string& path, Sha512Hash& hash);

// Writes `bytes` as the whole file `path`; false (and no half file) when it cannot.
bool StoreWholeFile(const std::string& path, const std::string& bytes);

} // namespace vur::updater
