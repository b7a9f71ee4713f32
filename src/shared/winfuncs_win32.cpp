// WinFuncs on Windows: GetVersionExA with the 148-byte record, and string values read from HKLM.
#include "shared/winfuncs.h"

#include <windows.h>

namespace vur {

namespace {

class RegistryKey {
public:
    explicit RegistryKey(const std::string& path) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

RegistryString ReadMachineString(const std::string& keyPath, const std::string& valueName) {
    RegistryString result;
    RegistryKey key(keyPath);
    if (!key.get()) return result;
    result.keyOpened = true;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return result;
    std::string buffer(size, '\0');
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &size) !=
        ERROR_SUCCESS)
        return result;
    buffer.resize(size);
    while (!buffer.empty() && buffer.back() == '\0') buffer.pop_back();
    result.value = buffer;
    return result;
}

} // namespace

bool IsWindowsNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record the platform expects");
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string GetProductId() { return ProductIdFrom(IsWindowsNT(), ReadMachineString); }

std::string GetRegisteredOwner() { return RegisteredOwnerFrom(IsWindowsNT(), ReadMachineString); }

} // namespace vur
