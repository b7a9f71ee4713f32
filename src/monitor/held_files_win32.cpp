// Holding the companion files open.
#include "monitor/held_files.h"

#include <windows.h>

namespace vur::monitor {

int HoldCompanionFiles(const std::string& programFolder) {
    static const char* const kFiles[] = {"config.exe", "start.exe",   "vault.exe",  "update.exe", "scanner.exe",
                                         "fast.exe",   "upx.exe",     "inject.dll", "vur.conf"};
    int held = 0;
    for (const char* name : kFiles) {
        // Deliberately never closed: the handle is what keeps the file in use for as long as the monitor runs.
        HANDLE h = CreateFileA((programFolder + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) ++held;
    }
    return held;
}

} // namespace vur::monitor
