// The shell's "open" action.
#include "shared/ui/shell.h"

#include <shellapi.h>

namespace vur::ui {

bool OpenWithShell(HWND owner, const std::string& path, int show) {
    HINSTANCE result = ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace vur::ui
