// THttpCli: synchronous HTTP/1.0 GET of one URL into a caller's stream, over TWSocket on the GUI thread.
#pragma once

#include "updater/WSocket.h"
#include "shared/ui/message_window.h"
#include "updater/http_session.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace vur::updater {

enum THttpState {
    httpReady,
    httpNotConnected,
    httpDnsLookup,
    httpConnecting,
    httpConnected,
    httpWaitingHeader,
    httpWaitingBody,
    httpAborting,
};

// Get waits for socket notifications and other window messages together (MsgWaitForMultipleObjects), so
// timers and repaints of the application run meanwhile and an idle wait costs no processor time. A request
// ends after Timeout ms without any progress (look-up, connection, bytes) and after MaxRequestTime ms in
// all; relocations are followed at most HttpSession::RelocationLimit times. Budget, when set, is the
// caller's tighter bound on the whole request: spent, the request fails however the bytes still trickle.
class THttpCli {
public:
    THttpCli();
    ~THttpCli();
    THttpCli(const THttpCli&) = delete;
    THttpCli& operator=(const THttpCli&) = delete;

    std::string URL;
    std::string Proxy; // a proxy is not supported: Get refuses a non-empty one
    std::string ProxyPort = "80";
    std::string Agent = "Mozilla/3.0 (compatible)";
    std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    bool NoCache = false;
    bool MultiThreaded = false; // only the synchronous wait on the calling thread exists
    std::string LocalAddr = "0.0.0.0";
    // Not read by Get: only URL's own user and password are sent, and not past a relocation to another host
    // or port. After Get they hold what the last exchange sent.
    std::string Username;
    std::string Password;
    unsigned long Timeout = 30000;
    unsigned long MaxRequestTime = 3600000;
    unsigned long Budget = 0;        // ms for the whole request, relocations included; 0: none
    std::uint64_t BodyLimit = HttpSession::NoBodyLimit; // most body bytes written to ReceiveStream
    OutputStream* ReceiveStream = nullptr;

    // Raises EHttpException: "HTTP component is busy" (1) during a request; the reason and status for a
    // status of 400 or more and for failed look-ups and connections (404); the component's own failures
    // with the codes of http_session.h (httperrTimeout for a spent Budget, httperrBodyTooLong past
    // BodyLimit). An exception of ReceiveStream's Write ends the request and is passed on.
    void Get();

    THttpState State() const { return FState; }
    std::uint32_t ReceivedBytes() const { return FSession.ReceivedBytes(); }
    int StatusCode() const { return FSession.StatusCode(); }
    const std::string& ReasonPhrase() const { return FSession.ReasonPhrase(); }
    long ContentLength() const { return FSession.ContentLength(); }
    const std::string& ContentType() const { return FSession.ContentType(); }
    const std::vector<std::string>& Headers() const { return FSession.Headers(); }
    const std::string& Hostname() const { return FSession.Host(); }
    const std::string& Port() const { return FSession.Port(); }
    const std::string& Path() const { return FSession.Path(); }

private:
    void Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void StartExchange();
    void LookupDone(int error, unsigned long address);
    void StartConnect(unsigned long address);
    void Connected(int error);
    void DataAvailable(const char* data, size_t size);
    void ExchangeClosed();
    void CheckTime();
    void FailWaiting(const std::string& message);
    void Finish();
    void Guard(const std::function<void()>& step);
    void WaitUntilReady();

    HttpSession FSession;
    TWSocket FSocket;
    ui::MessageWindow FWindow;
    THttpState FState = httpReady;
    bool FEnding = false;
    DWORD FStartTime = 0;
    DWORD FLastProgress = 0;
    std::exception_ptr FStreamError;
};

} // namespace vur::updater
