// The shell's "open" action, through which the suite's programs start each other.
#pragma once

#include <windows.h>

#include <string>

namespace vur::ui {

// Opens `path` with the shell's "open" action: no parameters, no working folder, shown with `show`
// (SW_SHOWNORMAL = 1, SW_SHOWMAXIMIZED), owned by `owner`. True when the shell reports success; the
// programs mostly ignore it, and the shell shows its own messages if it has any.
bool OpenWithShell(HWND owner, const std::string& path, int show);

} // namespace vur::ui
