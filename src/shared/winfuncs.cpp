// WinFuncs, the portable part: which key holds the installation values and what a missing key gives.
#include "shared/winfuncs.h"

namespace vur {

std::string InstallationKeyPath(bool windowsNT) {
    return windowsNT ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion" : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
}

std::string ProductIdFrom(bool windowsNT, const RegistryStringReader& read) {
    const RegistryString got = read(InstallationKeyPath(windowsNT), "ProductId");
    return got.keyOpened ? got.value : "0";
}

std::string RegisteredOwnerFrom(bool windowsNT, const RegistryStringReader& read) {
    return read(InstallationKeyPath(windowsNT), "RegisteredOwner").value;
}

} // namespace vur
