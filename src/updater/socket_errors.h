// English descriptions of Windows Sockets error numbers, for the texts of failed connections.
#pragma once

#include <string>

namespace vur::updater {

// The description of a WSAE* number; "Unknown error" for a number Windows Sockets does not define.
std::string SocketErrorDesc(int error);

// "<description> (Error #<number>)".
std::string SocketErrorText(int error);

} // namespace vur::updater
