// Whether a name from outside (a server's list, a description file) is a plain relative path, one that stays
// below the folder it is meant for and opens no device or data stream.
#pragma once

#include <string>

namespace vur {

// Empty when `file` is a plain relative path (components separated by "\" or "/"); otherwise why not, in
// German for the user's message: an absolute path, a drive letter, a UNC name, "." or "..", a colon (alternate
// data streams), a device name (CON, NUL, COM1, ...), characters that no file name may hold, a component
// ending in a dot or blank, an empty component.
std::string RefusalReason(const std::string& file);

// The same for a single file name: also refused when it holds a separator.
std::string FileNameRefusalReason(const std::string& name);

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 and the console and clock names, with any extension: Windows opens the
// device for every one of them in any folder, also with blanks before the extension, which it trims
// ("nul .dat"). `component` is one name, without a folder.
bool IsDeviceName(const std::string& component);

} // namespace vur
