// Downloads into files and memory, and whole-file reads.
#include "updater/update_files_win32.h"

#include "shared/crc.h"
#include "shared/errors.h"
#include "shared/file_reader.h"
#include "shared/handles_win32.h"

namespace vur::updater {

namespace {

// The download's body straight into its file, its checksum taken on the way; a write that fails ends the
// download with an error.
class FileStream : public OutputStream {
public:
    FileStream(HANDLE file, DownloadWatcher* watcher) : file_(file), watcher_(watcher) {}
    void Write(const char* data, size_t size) override {
        DWORD written = 0;
        if (!WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) || written != size)
            throw EVurError("Cannot write file (error " + std::to_string(GetLastError()) + ")");
        crc_ = CrcUpdate(crc_, data, size);
        stored_ += size;
        if (watcher_) watcher_->Received(data, size);
    }
    // As FileCRC32 gives it: an empty file keeps the initial value, uncomplemented.
    std::uint32_t Checksum() const { return stored_ ? ~crc_ : kCrcInitial; }

private:
    HANDLE file_;
    DownloadWatcher* watcher_;
    std::uint32_t crc_ = kCrcInitial;
    std::uint64_t stored_ = 0;
};

// A body kept in memory up to a limit; what goes beyond it marks the fetch as failed.
class MemoryStream : public OutputStream {
public:
    MemoryStream(std::string& body, std::size_t limit) : body_(body), limit_(limit) {}
    void Write(const char* data, size_t size) override {
        if (body_.size() + size > limit_) overflowed_ = true;
        else body_.append(data, size);
    }
    bool Overflowed() const { return overflowed_; }

private:
    std::string& body_;
    std::size_t limit_;
    bool overflowed_ = false;
};

// The client's Get into `stream`; false on an EHttpException.
bool Fetch(THttpCli& client, const std::string& url, OutputStream& stream) {
    client.Proxy.clear();
    client.ProxyPort.clear();
    client.URL = url;
    client.ReceiveStream = &stream;
    bool fetched = true;
    try {
        client.Get();
    } catch (const EHttpException&) {
        fetched = false;
    } catch (...) {
        client.ReceiveStream = nullptr;
        throw;
    }
    client.ReceiveStream = nullptr;
    return fetched;
}

// A listed file may live in a folder the installation does not have yet (its name has been checked to stay
// below the program folder): the folders on the way are then made, and the file is created once more. Most
// files have their folder already, and they need no look at the folders.
HANDLE CreateTarget(const std::string& target) {
    const auto create = [&] {
        return CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE file = create();
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PATH_NOT_FOUND) return file;
    for (std::size_t slash = target.find('\\', 3); slash != std::string::npos; slash = target.find('\\', slash + 1))
        CreateDirectoryA(target.substr(0, slash).c_str(), nullptr);
    return create();
}

} // namespace

bool DownloadToFile(THttpCli& client, const std::string& url, const std::string& target, std::uint32_t& checksum,
                    DownloadWatcher* watcher) {
    ScopedFile file(CreateTarget(target));
    if (!file) throw EVurError("Cannot create file " + target + " (error " + std::to_string(GetLastError()) + ")");
    FileStream body(file.Get(), watcher);
    const bool fetched = Fetch(client, url, body);
    checksum = body.Checksum();
    return fetched;
}

bool FetchToMemory(THttpCli& client, const std::string& url, std::string& body, std::size_t limit) {
    body.clear();
    MemoryStream stream(body, limit);
    return Fetch(client, url, stream) && !stream.Overflowed();
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (!vur::ReadWholeFile(path, bytes)) throw EVurError("Cannot read file " + path);
    return bytes;
}

} // namespace vur::updater
