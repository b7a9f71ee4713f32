// LoadSystemLibrary.
#include "shared/system_library_win32.h"

#include "shared/system_library.h"

namespace vur {

HMODULE LoadSystemLibrary(const std::string& fileName) {
    char folder[kMaxPathChars];
    SetLastError(ERROR_SUCCESS);
    const UINT length = GetSystemDirectoryA(folder, kMaxPathChars);
    const std::string path = SystemLibraryPath(folder, length, fileName);
    if (path.empty()) {
        // A failed GetSystemDirectoryA has set its reason; a path that is too long has none of its own.
        if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    return LoadLibraryA(path.c_str());
}

} // namespace vur
