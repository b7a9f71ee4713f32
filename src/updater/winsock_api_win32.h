// Windows Sockets 1.1 bound at run time from the system folder's wsock32.dll, started once per process.
#pragma once

#include <windows.h>
#include <winsock.h>

namespace vur::updater {

struct TWinsockApi {
    decltype(&::socket) Socket;
    decltype(&::closesocket) CloseSocket;
    decltype(&::bind) Bind;
    decltype(&::connect) Connect;
    decltype(&::send) Send;
    decltype(&::recv) Recv;
    decltype(&::htons) Htons;
    decltype(&::htonl) Htonl;
    decltype(&::WSAAsyncSelect) AsyncSelect;
    decltype(&::WSAAsyncGetHostByName) AsyncGetHostByName;
    decltype(&::WSACancelAsyncRequest) CancelAsyncRequest;
    decltype(&::WSAGetLastError) GetLastError;
};

// The bound functions, or nullptr when the library or one of them is missing or WSAStartup failed; in
// that case error holds the reason's Windows Sockets or Win32 error number.
const TWinsockApi* Winsock(int& error);

} // namespace vur::updater
