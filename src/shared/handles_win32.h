// RAII owners for kernel handles, search handles, registry keys and library modules (Windows builds only).
#pragma once

#include <windows.h>

#include <utility>

namespace vur {

// Owner of one handle; Traits gives its type, its failure value and how it is closed.
template <typename Traits>
class ScopedResource {
public:
    using Type = typename Traits::Type;

    ScopedResource() = default;
    explicit ScopedResource(Type value) : value_(value) {}
    ~ScopedResource() { Reset(); }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;
    ScopedResource(ScopedResource&& other) noexcept : value_(other.Release()) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Type Get() const { return value_; }
    bool Valid() const { return value_ != Traits::Null(); }
    explicit operator bool() const { return Valid(); }
    Type Release() { return std::exchange(value_, Traits::Null()); }
    void Reset(Type value = Traits::Null()) {
        if (value_ != Traits::Null()) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::Null();
};

// Kernel objects whose failure value is null: mutexes, processes, events.
struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE Null() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// Files and ToolHelp snapshots fail with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Type = HANDLE;
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct SearchHandleTraits {
    using Type = HANDLE;
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct KeyTraits {
    using Type = HKEY;
    static HKEY Null() { return nullptr; }
    static void Close(HKEY k) { RegCloseKey(k); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static HMODULE Null() { return nullptr; }
    static void Close(HMODULE m) { FreeLibrary(m); }
};

using ScopedHandle = ScopedResource<KernelHandleTraits>;
using ScopedFile = ScopedResource<FileHandleTraits>;
using ScopedSearch = ScopedResource<SearchHandleTraits>;
using ScopedKey = ScopedResource<KeyTraits>;
using ScopedModule = ScopedResource<ModuleTraits>;

} // namespace vur
