// SharedFileReader on CreateFileA; the share flags are the ones Windows 9x accepts (no FILE_SHARE_DELETE).
#include "shared/file_reader.h"

#include <windows.h>

#include "shared/relative_path.h"

namespace vur {

namespace {

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

} // namespace

SharedFileReader::~SharedFileReader() {
    if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

bool SharedFileReader::Open(const std::string& path) {
    if (IsDeviceName(path.substr(path.find_last_of("\\/:") + 1))) {
        error_ = ERROR_BAD_DEVICE;
        return false;
    }
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return true;
}

std::int64_t SharedFileReader::Size() {
    DWORD high = 0;
    const DWORD low = GetFileSize(AsHandle(handle_), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
    return (static_cast<std::int64_t>(high) << 32) | low;
}

long SharedFileReader::Read(void* buffer, std::size_t length) {
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(length), &got, nullptr)) {
        error_ = GetLastError();
        return -1;
    }
    return static_cast<long>(got);
}

} // namespace vur
