// The settings file on POSIX: flock on the file itself (shared for readers), fstat fields as the stamp, and
// a modification time pushed forward when a rewrite would otherwise leave the stamp unchanged.
#include "shared/settings_file.h"

#include "shared/errors.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vur {

struct SettingsFileSync::Impl {};

SettingsFileSync::SettingsFileSync() : impl_(new Impl) {}
SettingsFileSync::~SettingsFileSync() = default;

// Opening and inspecting a file costs a few microseconds here: every read checks in full.
ChangeMark SettingsFileSync::Mark() { return {}; }
bool SettingsFileSync::StillCurrent(const ChangeMark&) { return false; }

struct LockedSettingsFile::Impl {
    std::string path;
    int fd = -1;
};

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw EIniFileError("Cannot " + what + " settings file " + path);
}

std::uint64_t Nanoseconds(const timespec& t) {
    return static_cast<std::uint64_t>(t.tv_sec) * 1000000000u + static_cast<std::uint64_t>(t.tv_nsec);
}

bool WriteFully(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

LockedSettingsFile::LockedSettingsFile(SettingsFileSync&, const std::string& path, bool forWriting)
    : impl_(new Impl) {
    impl_->path = path;
    impl_->fd = forWriting ? ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)
                           : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (impl_->fd < 0) {
        if (forWriting) Fail("create", path);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSettingsLockTimeoutMs);
    while (::flock(impl_->fd, (forWriting ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline) {
            ::close(impl_->fd);
            impl_->fd = -1;
            Fail("lock", path);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

LockedSettingsFile::~LockedSettingsFile() {
    if (impl_->fd >= 0) ::close(impl_->fd); // closing releases the lock
}

bool LockedSettingsFile::Exists() const { return impl_->fd >= 0; }

FileStamp LockedSettingsFile::Stamp() {
    FileStamp stamp;
    struct stat st {};
    if (impl_->fd < 0 || ::fstat(impl_->fd, &st) != 0) return stamp;
    stamp.parts[0] = static_cast<std::uint64_t>(st.st_dev);
    stamp.parts[1] = static_cast<std::uint64_t>(st.st_ino);
    stamp.parts[2] = static_cast<std::uint64_t>(st.st_size);
    stamp.parts[3] = Nanoseconds(st.st_mtim);
    return stamp;
}

bool LockedSettingsFile::ReadAll(std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(impl_->fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
        offset += n;
    }
}

void LockedSettingsFile::Replace(const std::string& bytes) {
    const int fd = impl_->fd;
    struct stat before {};
    if (::fstat(fd, &before) != 0) Fail("inspect", impl_->path);
    const auto size = static_cast<off_t>(bytes.size());
    // Blocks are reserved before the first byte changes, so a full disk fails here with the old content intact.
    if (size > before.st_size) {
        const int rc = ::posix_fallocate(fd, 0, size);
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL) Fail("extend", impl_->path);
    }
    if (!WriteFully(fd, bytes)) Fail("write", impl_->path);
    if (size < before.st_size && ::ftruncate(fd, size) != 0) Fail("shorten", impl_->path);
    struct stat after {};
    if (::fstat(fd, &after) != 0 || after.st_size != size) Fail("write", impl_->path);
    // Coarse file-system clocks can give two quick rewrites of equal length the same time; readers compare it.
    if (Nanoseconds(after.st_mtim) <= Nanoseconds(before.st_mtim)) {
        const std::uint64_t later = Nanoseconds(before.st_mtim) + 1;
        const timespec times[2] = {{0, UTIME_OMIT},
                                   {static_cast<time_t>(later / 1000000000u), static_cast<long>(later % 1000000000u)}};
        if (::futimens(fd, times) != 0) Fail("stamp", impl_->path);
    }
}

} // namespace vur
