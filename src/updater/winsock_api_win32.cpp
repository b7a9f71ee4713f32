// Loads wsock32.dll by full path, takes its functions by name and keeps it started until the process ends.
#include "updater/winsock_api_win32.h"

#include "shared/system_library_win32.h"

#include <string>

namespace vur::updater {

namespace {

class TWinsockLibrary {
public:
    TWinsockLibrary() {
        FModule = LoadSystemLibrary("wsock32.dll");
        if (!FModule) {
            FError = static_cast<int>(GetLastError());
            return;
        }
        bool bound = Bind(FApi.Socket, "socket") && Bind(FApi.CloseSocket, "closesocket") && Bind(FApi.Bind, "bind") &&
                     Bind(FApi.Connect, "connect") && Bind(FApi.Send, "send") && Bind(FApi.Recv, "recv") &&
                     Bind(FApi.Htons, "htons") && Bind(FApi.Htonl, "htonl") &&
                     Bind(FApi.AsyncSelect, "WSAAsyncSelect") &&
                     Bind(FApi.AsyncGetHostByName, "WSAAsyncGetHostByName") &&
                     Bind(FApi.CancelAsyncRequest, "WSACancelAsyncRequest") &&
                     Bind(FApi.GetLastError, "WSAGetLastError");
        decltype(&::WSAStartup) startup = nullptr;
        if (!bound || !Bind(startup, "WSAStartup")) {
            FError = ERROR_PROC_NOT_FOUND;
            return;
        }
        WSADATA data;
        FError = startup(MAKEWORD(1, 1), &data);
        FStarted = FError == 0;
    }

    ~TWinsockLibrary() {
        decltype(&::WSACleanup) cleanup = nullptr;
        if (FStarted && Bind(cleanup, "WSACleanup"))
            cleanup();
        if (FModule)
            FreeLibrary(FModule);
    }

    TWinsockLibrary(const TWinsockLibrary&) = delete;
    TWinsockLibrary& operator=(const TWinsockLibrary&) = delete;

    const TWinsockApi* Api(int& error) const {
        error = FError;
        return FStarted ? &FApi : nullptr;
    }

private:
    template <typename F> bool Bind(F& function, const char* name) const {
        return BindEntryPoint(FModule, name, function);
    }

    HMODULE FModule = nullptr;
    TWinsockApi FApi = {};
    bool FStarted = false;
    int FError = 0;
};

} // namespace

const TWinsockApi* Winsock(int& error) {
    static TWinsockLibrary library;
    return library.Api(error);
}

} // namespace vur::updater
