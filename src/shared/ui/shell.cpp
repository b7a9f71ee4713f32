// Program folder and shell "open".
#include "shared/ui/shell.h"

#include <shellapi.h>

namespace vur::ui {

std::string ProgramFolder(HMODULE module) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool OpenWithShell(HWND owner, const std::string& path, int show) {
    HINSTANCE result = ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace vur::ui
