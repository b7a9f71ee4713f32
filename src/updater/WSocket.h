// TWSocket: an event-driven TCP client socket over Windows Sockets, its events delivered on the GUI thread.
#pragma once

#include "shared/ui/message_window.h"
#include "updater/winsock_api_win32.h"

#include <functional>
#include <string>
#include <vector>

namespace vur::updater {

// Every notification arrives as a window message to the socket's hidden window (WSAAsyncSelect,
// WSAAsyncGetHostByName), so nothing blocks and nothing runs on another thread. Each look-up and each
// connection gets a message number of its own, so a notification still queued for an earlier one is
// recognised and dropped. Events may close or reuse the socket.
class TWSocket {
public:
    // Error 0: success. The address is in host byte order.
    std::function<void(int error, unsigned long address)> OnDnsLookupDone;
    std::function<void(int error)> OnSessionConnected;
    std::function<void(const char* data, size_t size)> OnDataAvailable;
    std::function<void(int error)> OnSessionClosed;

    TWSocket();
    ~TWSocket();
    TWSocket(const TWSocket&) = delete;
    TWSocket& operator=(const TWSocket&) = delete;

    // Starts an asynchronous name look-up; returns a Windows Sockets error number when it cannot start.
    int DnsLookup(const std::string& host);
    void CancelDnsLookup();

    // Starts connecting; returns an error number when the connection cannot even be started.
    int Connect(unsigned long address, unsigned port, unsigned long localAddress);

    // Sends the bytes, the rest later when the socket cannot take them all now.
    void Send(const std::string& data);

    // Closes at once, without any event.
    void Close();

    bool Connected() const { return FSocket != INVALID_SOCKET; }

private:
    void Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SocketEvent(WORD event, WORD error);
    enum class ReadOutcome { Data, WouldBlock, Ended };
    ReadOutcome ReadOnce();
    void FlushSend();

    static const size_t ReadSize = 1 << 20;

    const TWinsockApi* FApi = nullptr;
    ui::MessageWindow FWindow;
    SOCKET FSocket = INVALID_SOCKET;
    UINT FSocketMessage = 0;
    HANDLE FLookup = nullptr;
    UINT FLookupMessage = 0;
    UINT FGeneration = 0;
    std::string FPendingSend;
    bool FWriteWatched = false; // FD_WRITE is asked for
    char FHostEntry[MAXGETHOSTSTRUCT];
    std::vector<char> FReadBuffer;
};

} // namespace vur::updater
