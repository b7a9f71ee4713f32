// SharedFileReader on POSIX descriptors; POSIX has no share modes, so other processes are never locked out.
#include "shared/file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vur {

SharedFileReader::~SharedFileReader() {
    if (handle_ != -1) ::close(static_cast<int>(handle_));
}

bool SharedFileReader::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error_ = static_cast<std::uint32_t>(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = EINVAL;
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

std::int64_t SharedFileReader::Size() {
    struct stat st {};
    if (::fstat(static_cast<int>(handle_), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

long SharedFileReader::Read(void* buffer, std::size_t length) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error_ = static_cast<std::uint32_t>(errno);
        return static_cast<long>(got);
    }
}

} // namespace vur
