// The socket's connect, send, receive and close through WSAAsyncSelect messages, and the asynchronous look-up.
#include "updater/WSocket.h"

#include "shared/errors.h"

#include <cstring>

namespace vur::updater {

namespace {

// Message numbers for look-ups and connections cycle through this range; the window's own use ends below it.
const UINT FirstMessage = WM_USER + 0x100;
const UINT MessageCount = 0x400;
// A request fits into the send buffer at once, so the notification that there is room again is asked for
// only when a send would block: it would otherwise be one more message for every connection.
const long BaseEvents = FD_CONNECT | FD_READ | FD_CLOSE;

} // namespace

TWSocket::TWSocket() : FWindow([this](UINT message, WPARAM wParam, LPARAM lParam) { Handle(message, wParam, lParam); }) {
    int error = 0;
    FApi = Winsock(error);
    FReadBuffer.resize(ReadSize);
    if (!FApi)
        throw EVurError("Windows Sockets not available (Error #" + std::to_string(error) + ")");
}

TWSocket::~TWSocket() {
    CancelDnsLookup();
    Close();
}

int TWSocket::DnsLookup(const std::string& host) {
    CancelDnsLookup();
    FLookupMessage = FirstMessage + (FGeneration++ % MessageCount);
    FLookup = FApi->AsyncGetHostByName(FWindow.hwnd(), FLookupMessage, host.c_str(), FHostEntry, sizeof FHostEntry);
    if (!FLookup) {
        FLookupMessage = 0;
        int error = FApi->GetLastError();
        return error ? error : WSAEINVAL;
    }
    return 0;
}

void TWSocket::CancelDnsLookup() {
    if (FLookup)
        FApi->CancelAsyncRequest(FLookup);
    FLookup = nullptr;
    FLookupMessage = 0;
}

int TWSocket::Connect(unsigned long address, unsigned port, unsigned long localAddress) {
    Close();
    FSocket = FApi->Socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (FSocket == INVALID_SOCKET)
        return FApi->GetLastError();
    int error = 0;
    if (localAddress != 0) {
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = FApi->Htonl(localAddress);
        if (FApi->Bind(FSocket, reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR)
            error = FApi->GetLastError();
    }
    FSocketMessage = FirstMessage + (FGeneration++ % MessageCount);
    if (!error &&
        FApi->AsyncSelect(FSocket, FWindow.hwnd(), FSocketMessage, BaseEvents) != 0)
        error = FApi->GetLastError();
    if (!error) {
        sockaddr_in remote = {};
        remote.sin_family = AF_INET;
        remote.sin_port = FApi->Htons(static_cast<u_short>(port));
        remote.sin_addr.s_addr = FApi->Htonl(address);
        if (FApi->Connect(FSocket, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == SOCKET_ERROR) {
            error = FApi->GetLastError();
            if (error == WSAEWOULDBLOCK)
                error = 0;
        }
    }
    if (error)
        Close();
    return error;
}

void TWSocket::Send(const std::string& data) {
    FPendingSend += data;
    FlushSend();
}

void TWSocket::FlushSend() {
    while (!FPendingSend.empty() && FSocket != INVALID_SOCKET) {
        int sent = FApi->Send(FSocket, FPendingSend.data(), static_cast<int>(FPendingSend.size()), 0);
        if (sent == SOCKET_ERROR) {
            // Would block: FD_WRITE follows once asked for. Broken: FD_CLOSE follows.
            if (!FWriteWatched && FApi->GetLastError() == WSAEWOULDBLOCK &&
                FApi->AsyncSelect(FSocket, FWindow.hwnd(), FSocketMessage, BaseEvents | FD_WRITE) == 0)
                FWriteWatched = true;
            return;
        }
        FPendingSend.erase(0, static_cast<size_t>(sent));
    }
}

void TWSocket::Close() {
    // Closing ends the socket's notifications; one already queued carries the old message number and is
    // dropped by Handle.
    if (FSocket != INVALID_SOCKET)
        FApi->CloseSocket(FSocket);
    FSocket = INVALID_SOCKET;
    FSocketMessage = 0;
    FWriteWatched = false;
    FPendingSend.clear();
}

void TWSocket::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FLookupMessage && message == FLookupMessage && reinterpret_cast<HANDLE>(wParam) == FLookup) {
        FLookup = nullptr;
        FLookupMessage = 0;
        int error = WSAGETASYNCERROR(lParam);
        unsigned long address = 0;
        const hostent* entry = reinterpret_cast<const hostent*>(FHostEntry);
        if (!error && (entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
                       !entry->h_addr_list[0]))
            error = WSANO_DATA;
        if (!error) {
            const unsigned char* bytes = reinterpret_cast<const unsigned char*>(entry->h_addr_list[0]);
            address = (static_cast<unsigned long>(bytes[0]) << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
        }
        if (OnDnsLookupDone)
            OnDnsLookupDone(error, address);
    } else if (FSocketMessage && message == FSocketMessage && static_cast<SOCKET>(wParam) == FSocket) {
        SocketEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
    }
}

void TWSocket::SocketEvent(WORD event, WORD error) {
    switch (event) {
    case FD_CONNECT:
        if (OnSessionConnected)
            OnSessionConnected(error);
        break;
    case FD_WRITE:
        FlushSend();
        break;
    case FD_READ:
        if (ReadOnce() == ReadOutcome::Ended) {
            Close();
            if (OnSessionClosed)
                OnSessionClosed(0);
        }
        break;
    case FD_CLOSE: {
        // Data may still be buffered behind the close notification: read it all first. An event handler
        // may close the socket or open the next connection meanwhile; then this notification is stale.
        UINT message = FSocketMessage;
        while (FSocketMessage == message && ReadOnce() == ReadOutcome::Data) {
        }
        if (FSocketMessage == message) {
            Close();
            if (OnSessionClosed)
                OnSessionClosed(error);
        }
        break;
    }
    default:
        break;
    }
}

TWSocket::ReadOutcome TWSocket::ReadOnce() {
    int received = FApi->Recv(FSocket, FReadBuffer.data(), static_cast<int>(ReadSize), 0);
    if (received > 0) {
        if (OnDataAvailable)
            OnDataAvailable(FReadBuffer.data(), static_cast<size_t>(received));
        return ReadOutcome::Data;
    }
    if (received == SOCKET_ERROR && FApi->GetLastError() == WSAEWOULDBLOCK)
        return ReadOutcome::WouldBlock;
    return ReadOutcome::Ended;
}

} // namespace vur::updater
