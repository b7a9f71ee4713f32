// The settings file on Windows: the named mutex "VUR_CONF_LOCK" for every access, and a change counter in the
// named shared memory "VUR_CONF_GENERATION" that every writer raises, since FAT keeps write times to 2 s only.
#include "shared/settings_file.h"

#include "shared/errors.h"

#include <windows.h>

namespace vur {

namespace {

const char kLockName[] = "VUR_CONF_LOCK";
const char kGenerationName[] = "VUR_CONF_GENERATION";

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw EIniFileError("Cannot " + what + " settings file " + path);
}

struct Handle {
    HANDLE h = nullptr;
    explicit Handle(HANDLE handle) : h(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~Handle() {
        if (h) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

} // namespace

struct SettingsFileSync::Impl {
    Handle mutex{CreateMutexA(nullptr, FALSE, kLockName)};
    Handle mapping{CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                      kGenerationName)};
    volatile LONG* generation = nullptr;
    Impl() {
        if (mapping.h)
            generation = static_cast<volatile LONG*>(MapViewOfFile(mapping.h, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    }
    ~Impl() {
        if (generation) UnmapViewOfFile(const_cast<LONG*>(generation));
    }
};

SettingsFileSync::SettingsFileSync() : impl_(new Impl) {}
SettingsFileSync::~SettingsFileSync() = default;

// Every writer raises the counter while it holds the lock, after its content is complete; a reader that
// still sees its mark's count reads a complete file, the one it has parsed.
ChangeMark SettingsFileSync::Mark() {
    ChangeMark mark;
    if (!impl_->generation) return mark;
    mark.valid = true;
    mark.generation = static_cast<std::uint32_t>(*impl_->generation);
    mark.takenAt = GetTickCount();
    return mark;
}

bool SettingsFileSync::StillCurrent(const ChangeMark& mark) {
    return mark.valid && static_cast<std::uint32_t>(*impl_->generation) == mark.generation &&
           GetTickCount() - mark.takenAt < kForeignEditDelayMs;
}

struct LockedSettingsFile::Impl {
    SettingsFileSync::Impl& sync;
    std::string path;
    bool locked = false;
    HANDLE file = INVALID_HANDLE_VALUE;
    explicit Impl(SettingsFileSync::Impl& s) : sync(s) {}
    ~Impl() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        if (locked) ReleaseMutex(sync.mutex.h);
    }
};

LockedSettingsFile::LockedSettingsFile(SettingsFileSync& sync, const std::string& path, bool forWriting)
    : impl_(new Impl(sync.impl())) {
    impl_->path = path;
    if (!impl_->sync.mutex.h) Fail("lock", path);
    const DWORD wait = WaitForSingleObject(impl_->sync.mutex.h, kSettingsLockTimeoutMs);
    // An abandoned mutex is ours now; its last owner ended while writing, so the content is what is left.
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) Fail("lock", path);
    impl_->locked = true;
    impl_->file = CreateFileA(path.c_str(), forWriting ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, forWriting ? OPEN_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (forWriting && impl_->file == INVALID_HANDLE_VALUE) Fail("create", path);
}

LockedSettingsFile::~LockedSettingsFile() = default;

bool LockedSettingsFile::Exists() const { return impl_->file != INVALID_HANDLE_VALUE; }

FileStamp LockedSettingsFile::Stamp() {
    FileStamp stamp;
    if (impl_->file == INVALID_HANDLE_VALUE) return stamp;
    FILETIME written{};
    GetFileTime(impl_->file, nullptr, nullptr, &written);
    DWORD high = 0;
    const DWORD low = GetFileSize(impl_->file, &high);
    stamp.parts[0] = impl_->sync.generation ? static_cast<std::uint32_t>(*impl_->sync.generation) : 0;
    stamp.parts[1] = (static_cast<std::uint64_t>(high) << 32) | low;
    stamp.parts[2] = (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    // Without the shared counter every read is a fresh one.
    stamp.parts[3] = impl_->sync.generation ? 0 : GetTickCount();
    return stamp;
}

bool LockedSettingsFile::ReadAll(std::string& bytes) {
    bytes.clear();
    if (SetFilePointer(impl_->file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(impl_->file, buffer, sizeof buffer, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
    }
}

void LockedSettingsFile::Replace(const std::string& bytes) {
    const HANDLE file = impl_->file;
    const DWORD before = GetFileSize(file, nullptr);
    const auto size = static_cast<DWORD>(bytes.size());
    if (before == INVALID_FILE_SIZE) Fail("inspect", impl_->path);
    // Clusters are allocated before the first byte changes, so a full disk fails here with the old content.
    if (size > before && (SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
                          !SetEndOfFile(file)))
        Fail("extend", impl_->path);
    DWORD written = 0;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        (size > 0 && (!WriteFile(file, bytes.data(), size, &written, nullptr) || written != size)))
        Fail("write", impl_->path);
    if (size < before && !SetEndOfFile(file)) Fail("shorten", impl_->path);
    if (GetFileSize(file, nullptr) != size) Fail("write", impl_->path);
    if (impl_->sync.generation) InterlockedIncrement(const_cast<LONG*>(impl_->sync.generation));
}

} // namespace vur
