// Module file names and program folders.
#include "shared/module_path_win32.h"

namespace vur {

std::string ModuleFileName(HMODULE module) {
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, buffer, MAX_PATH);
    return std::string(buffer, n < MAX_PATH ? n : 0);
}

std::string ModuleFolder(HMODULE module) {
    const std::string path = ModuleFileName(module);
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

HMODULE ThisModule() {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<const void*>(&ThisModule), &info, sizeof info) == 0) return nullptr;
    return static_cast<HMODULE>(info.AllocationBase);
}

} // namespace vur
