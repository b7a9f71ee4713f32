// The status line of a run: "Scanne " and the folder shortened to 350 pixels in the label's font, " ...".
#pragma once

#include <windows.h>

#include <string>

namespace vur::scanner {

// `measurements`, when given, is raised by the number of texts measured (for the scan benchmark).
std::string StatusLineText(HWND label, const std::string& folder, long long* measurements = nullptr);

} // namespace vur::scanner
