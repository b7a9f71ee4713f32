// The Run value on the registry.
#include "shared/run_value.h"

#include "shared/settings_schema.h"
#include "shared/handles_win32.h"

namespace vur {

void WriteRunValue(const std::string& data) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, schema::kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &raw, nullptr) != ERROR_SUCCESS)
        return;
    ScopedKey key(raw);
    RegSetValueExA(key.Get(), schema::kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
}

void DeleteRunValue() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, schema::kRunKeyPath, 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
    ScopedKey key(raw);
    RegDeleteValueA(key.Get(), schema::kRunValueName);
}

} // namespace vur
