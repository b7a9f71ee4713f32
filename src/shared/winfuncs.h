// WinFuncs: the Windows family test and the two registry values the settings pass phrases come from.
//
// IsWindowsNT, GetProductId and GetRegisteredOwner exist in the Windows build only. The choice of key and
// the results for a key or value that is missing are portable, over a registry reader that tests can fake.
#pragma once

#include <functional>
#include <string>

namespace vur {

// What reading one string value gave: whether the key could be opened, and the value (empty when missing).
struct RegistryString {
    bool keyOpened = false;
    std::string value;
};
// Reads a string value under HKEY_LOCAL_MACHINE; opens the key for reading only, never creates it.
using RegistryStringReader = std::function<RegistryString(const std::string& keyPath, const std::string& valueName)>;

std::string InstallationKeyPath(bool windowsNT);
// "0" when the key cannot be opened.
std::string ProductIdFrom(bool windowsNT, const RegistryStringReader& read);
// Empty when the key cannot be opened.
std::string RegisteredOwnerFrom(bool windowsNT, const RegistryStringReader& read);

bool IsWindowsNT();
std::string GetProductId();
std::string GetRegisteredOwner();

} // namespace vur
