// Downloads into files and memory, and whole-file reads.
#include "updater/update_files_win32.h"

#include "shared/crc.h"
#include "shared/errors.h"
#include "shared/file_reader.h"
#include "shared/file_writer_win32.h"
#include "shared/handles_win32.h"
#include "shared/sha512.h"
#include "updater/update_texts.h"

namespace vur::updater {

namespace {

// "C:" of "C:\...", "\\server\share" of a UNC path: where a full disk is, in the user's words.
std::string DriveOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.compare(0, 2, "\\\\") == 0) {
        const std::size_t share = path.find('\\', 2);
        const std::size_t end = share == std::string::npos ? share : path.find('\\', share + 1);
        return path.substr(0, end);
    }
    return path;
}

// The download's body straight into its file, its checksum taken on the way; a write that fails ends the
// download with a German error.
class FileStream : public OutputStream {
public:
    FileStream(HANDLE file, const std::string& path, DownloadWatcher* watcher)
        : file_(file), path_(path), watcher_(watcher) {}
    void Write(const char* data, size_t size) override {
        DWORD written = 0;
        if (!WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
            const DWORD error = GetLastError();
            // A short write without an error code is a full disk as well.
            if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == 0)
                throw EVurError(texts::kDiskFullBefore + DriveOf(path_) + texts::kDiskFullMiddle + path_ +
                                texts::kDiskFullAfter);
            throw EVurError(texts::kWriteFailedBefore + path_ + texts::kWriteFailedMiddle + std::to_string(error) +
                            texts::kWriteFailedAfter);
        }
        crc_ = CrcUpdate(crc_, data, size);
        stored_ += size;
        if (watcher_) watcher_->Received(data, size);
    }
    // As FileCRC32 gives it: an empty file keeps the initial value, uncomplemented.
    std::uint32_t Checksum() const { return stored_ ? ~crc_ : kCrcInitial; }

private:
    HANDLE file_;
    std::string path_;
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

// The client's Get into `stream`, at most `limit` bytes within their time on a slow line; false on an
// EHttpException.
bool Fetch(THttpCli& client, const std::string& url, OutputStream& stream, std::uint64_t limit) {
    client.Proxy.clear();
    client.ProxyPort.clear();
    client.URL = url;
    client.BodyLimit = limit;
    client.Budget = RequestBudgetMs(limit);
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
// files have their folder already, and they need no look at the folders. The file must be new: a download
// never writes into a file that is already there, which may be one scheduled for the next start of Windows.
HANDLE CreateTarget(const std::string& target) {
    const auto create = [&] {
        return CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    };
    HANDLE file = create();
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PATH_NOT_FOUND) return file;
    for (std::size_t slash = target.find('\\', 3); slash != std::string::npos; slash = target.find('\\', slash + 1))
        CreateDirectoryA(target.substr(0, slash).c_str(), nullptr);
    return create();
}

} // namespace

bool DownloadToFile(THttpCli& client, const std::string& url, const std::string& target, std::uint64_t limit,
                    std::uint32_t& checksum, DownloadWatcher* watcher) {
    ScopedFile file(CreateTarget(target));
    if (!file) throw EVurError("Cannot create file " + target + " (error " + std::to_string(GetLastError()) + ")");
    FileStream body(file.Get(), target, watcher);
    const bool fetched = Fetch(client, url, body, limit);
    checksum = body.Checksum();
    return fetched;
}

bool FetchToMemory(THttpCli& client, const std::string& url, std::string& body, std::size_t limit) {
    body.clear();
    MemoryStream stream(body, limit);
    return Fetch(client, url, stream, limit) && !stream.Overflowed();
}

bool FileSha512(const std::string& path, Sha512Hash& hash) {
    SharedFileReader reader;
    if (!reader.Open(path)) return false;
    Sha512 sha;
    char buffer[65536];
    for (long got; (got = reader.Read(buffer, sizeof buffer)) != 0;) {
        if (got < 0) return false;
        sha.Update(buffer, static_cast<std::size_t>(got));
    }
    sha.Final(hash.data());
    return true;
}

bool StoreWholeFile(const std::string& path, const std::string& bytes) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    try {
        WriteAllOrDelete(file, path, bytes, "Cannot write");
    } catch (const EVurError&) {
        return false;
    }
    return true;
}

} // namespace vur::updater
