// Saving the report: the save dialog with the report file filter, and writing the RTF to the chosen file.
#pragma once

#include <windows.h>

#include <string>

namespace vur::scanner {

// The save dialog: filter "VUR 4.0 Reportdatei/RichText" (*.rtf), ".rtf" added to a name typed without an
// extension, an existing file replaced without asking. Empty when the user cancels.
std::string AskReportFileName(HWND owner);

// Writes `content` as the whole file, replacing it; raises EVurError when the file cannot be written, and
// then leaves no half-written file behind.
void WriteReportFile(const std::string& path, const std::string& content);

} // namespace vur::scanner
