// Seam: reading a whole file from start to end while other processes may run it, read it or write it.
//
// Each platform supplies the class below. Open() opens an existing file for reading with a share mode that
// lets other processes keep it open for reading and writing (and a running program file be read); it never
// changes process-wide state. Size() is the size in bytes at the time of the call, or -1 when unknown.
// Read() fills up to `length` bytes and returns how many it read (0 at the end), or -1 on an error.
// The destructor closes the file; closing errors are ignored. A name that opens a device (CON, COM1, NUL ...,
// see IsDeviceName) is never opened: reading one can block for ever. Error() is the system's error code of
// the last failed Open() or Read() (ERROR_BAD_DEVICE for a device name on Windows), 0 when none failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vur {

class SharedFileReader {
public:
    SharedFileReader() = default;
    ~SharedFileReader();
    SharedFileReader(const SharedFileReader&) = delete;
    SharedFileReader& operator=(const SharedFileReader&) = delete;

    bool Open(const std::string& path);
    std::int64_t Size();
    long Read(void* buffer, std::size_t length);
    std::uint32_t Error() const { return error_; }

private:
    std::intptr_t handle_ = -1;
    std::uint32_t error_ = 0;
};

// The whole file from start to end through SharedFileReader; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace vur
