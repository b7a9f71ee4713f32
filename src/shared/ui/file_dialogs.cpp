// The common file dialogs.
#include "shared/ui/file_dialogs.h"

#include <commdlg.h>

namespace vur::ui {

namespace {

std::string Ask(HWND owner, const std::string& filter, const char* defaultExtension, bool save) {
    // The dialog takes the entries separated by zeros and ended by two.
    std::string entries = filter;
    for (char& c : entries)
        if (c == '|') c = '\0';
    entries.append(2, '\0');
    char name[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    // The first revision of the record, which every Windows version takes.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = entries.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_PATHMUSTEXIST : 0);
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    return chosen ? std::string(name) : std::string();
}

} // namespace

std::string AskOpenFileName(HWND owner, const std::string& filter, const char* defaultExtension) {
    return Ask(owner, filter, defaultExtension, false);
}

std::string AskSaveFileName(HWND owner, const std::string& filter, const char* defaultExtension) {
    return Ask(owner, filter, defaultExtension, true);
}

} // namespace vur::ui
