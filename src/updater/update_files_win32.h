// The file side of the update run on Windows, shared by the updater window and the update benchmark.
#pragma once

#include <cstdint>
#include <string>

#include "updater/HttpProt.h"
#include "updater/update_host.h"

namespace vur::updater {

// Creates (truncates) `target`, with the folders on its way, and fetches `url` into it with `client`; false
// when the fetch fails (an EHttpException). `checksum` is the file checksum of what was stored, as FileCRC32
// of the file gives it, taken on the way so the file need not be read back; `watcher`, when not null, sees
// every byte written. A target that cannot be created or written raises EVurError.
bool DownloadToFile(THttpCli& client, const std::string& url, const std::string& target, std::uint32_t& checksum,
                    DownloadWatcher* watcher);

// Fetches `url` into memory (for signatures: a body longer than `limit` bytes fails); false when the fetch
// fails.
bool FetchToMemory(THttpCli& client, const std::string& url, std::string& body, std::size_t limit = 4096);

// The whole file; raises EVurError when it cannot be read.
std::string ReadWholeFile(const std::string& path);

} // namespace vur::updater
