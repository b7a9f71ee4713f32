// The report file on Windows.
#include "scanner/report_file_win32.h"

#include "shared/errors.h"
#include "shared/file_writer_win32.h"
#include "shared/ui/file_dialogs.h"
#include "shared/handles_win32.h"

namespace vur::scanner {

std::string AskReportFileName(HWND owner) {
    return ui::AskSaveFileName(owner, "VUR 4.0 Reportdatei/RichText|*.rtf", "rtf");
}

void WriteReportFile(const std::string& path, const std::string& content) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EVurError("Cannot create file " + path + " (error " + std::to_string(GetLastError()) + ")");
    WriteAllOrDelete(file, path, content, "Cannot write file");
}

} // namespace vur::scanner
