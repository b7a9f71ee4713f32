// The report file on Windows.
#include "scanner/report_file_win32.h"

#include <commdlg.h>

#include "shared/errors.h"
#include "shared/file_writer.h"
#include "shared/win32_handles.h"

namespace vur::scanner {

std::string AskReportFileName(HWND owner) {
    // One filter entry: the description, a zero, the pattern, and the closing double zero.
    static const char kFilter[] = "VUR 4.0 Reportdatei/RichText\0*.rtf\0";
    char name[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    // The first revision of the record, which every Windows version takes.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = "rtf";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog)) return std::string();
    return name;
}

void WriteReportFile(const std::string& path, const std::string& content) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EVurError("Cannot create file " + path + " (error " + std::to_string(GetLastError()) + ")");
    WriteAllOrDelete(file, path, content, "Cannot write file");
}

} // namespace vur::scanner
