// The quarantine store's file system calls on Windows.
#include "shared/quarantine.h"

#include "shared/errors.h"
#include "shared/file_writer_win32.h"
#include "shared/handles_win32.h"

namespace vur {

namespace {

class Win32Quarantine : public QuarantineSystem {
public:
    void Wait(unsigned milliseconds) override { Sleep(milliseconds); }

    std::uint32_t ClockSeed() override {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        return GetTickCount() ^ counter.LowPart;
    }

    bool FileExists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    bool CreateNewTextFile(const std::string& path, const std::string& content) override {
        ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return false;
            throw EVurError("Quarantine: cannot create " + path + " (error " + std::to_string(error) + ")");
        }
        WriteAllOrDelete(file, path, content, "Quarantine: cannot write");
        return true;
    }

    void ClearAttributes(const std::string& path) override { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); }

    bool Move(const std::string& from, const std::string& to) override {
        return MoveFileA(from.c_str(), to.c_str()) != FALSE;
    }

    void Remove(const std::string& path) override { DeleteFileA(path.c_str()); }
};

} // namespace

QuarantineSystem& SystemQuarantine() {
    static Win32Quarantine system;
    return system;
}

} // namespace vur
