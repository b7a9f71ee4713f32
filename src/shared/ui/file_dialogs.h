// The common file dialogs, with filters written as "Description|pattern|Description|pattern".
#pragma once

#include <windows.h>

#include <string>

namespace vur::ui {

// The open dialog; `defaultExtension` (without the dot) is added to a name typed without one. The chosen
// file need not exist. Empty when the user cancels.
std::string AskOpenFileName(HWND owner, const std::string& filter, const char* defaultExtension);

// The save dialog: the extension added in the same way, an existing file replaced without asking.
std::string AskSaveFileName(HWND owner, const std::string& filter, const char* defaultExtension);

} // namespace vur::ui
