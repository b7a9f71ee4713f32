// Downloads into files and whole-file reads.
#include "updater/update_files_win32.h"

#include "shared/crc.h"
#include "shared/errors.h"
#include "shared/file_reader.h"
#include "shared/win32_handles.h"

namespace vur::updater {

namespace {

// The download's body straight into its file, its checksum taken on the way; a write that fails ends the
// download with an error.
class FileStream : public TStream {
public:
    explicit FileStream(HANDLE file) : file_(file) {}
    void Write(const char* data, size_t size) override {
        DWORD written = 0;
        if (!WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) || written != size)
            throw EVurError("Cannot write file (error " + std::to_string(GetLastError()) + ")");
        crc_ = CrcUpdate(crc_, data, size);
        stored_ += size;
    }
    // As FileCRC32 gives it: an empty file keeps the initial value, uncomplemented.
    std::uint32_t Checksum() const { return stored_ ? ~crc_ : kCrcInitial; }

private:
    HANDLE file_;
    std::uint32_t crc_ = kCrcInitial;
    std::uint64_t stored_ = 0;
};

// A listed file may live in a folder the installation does not have yet (its name has been checked to stay
// below the program folder): the folders on the way are made first.
void MakeFolders(const std::string& target) {
    for (std::size_t slash = target.find('\\', 3); slash != std::string::npos; slash = target.find('\\', slash + 1))
        CreateDirectoryA(target.substr(0, slash).c_str(), nullptr);
}

} // namespace

bool DownloadToFile(THttpCli& client, const std::string& url, const std::string& target, std::uint32_t& checksum) {
    MakeFolders(target);
    ScopedFile file(CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EVurError("Cannot create file " + target + " (error " + std::to_string(GetLastError()) + ")");
    FileStream body(file.Get());
    client.Proxy.clear();
    client.ProxyPort.clear();
    client.URL = url;
    client.ReceiveStream = &body;
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
    checksum = body.Checksum();
    return fetched;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (!vur::ReadWholeFile(path, bytes)) throw EVurError("Cannot read file " + path);
    return bytes;
}

} // namespace vur::updater
