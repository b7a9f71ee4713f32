// Program folder and shell "open".
#include "shared/ui/shell.h"

#include "shared/module_path.h"

#include <shellapi.h>

namespace vur::ui {

std::string ProgramFolder(HMODULE module) { return vur::ModuleFolder(module); }

bool OpenWithShell(HWND owner, const std::string& path, int show) {
    HINSTANCE result = ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace vur::ui
