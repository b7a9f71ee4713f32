// THttpCli: drives one request's look-up, connection, exchange and relocations, and waits without spinning.
#include "updater/HttpProt.h"

#include "updater/http_parse.h"
#include "updater/socket_errors.h"

#include <utility>

namespace vur::updater {

namespace {

const UINT RequestDoneMessage = WM_USER + 1;
// The longest wait between two looks at the request's time limits.
const DWORD CheckInterval = 250;

std::string Seconds(unsigned long milliseconds) { return std::to_string((milliseconds + 999) / 1000) + " s"; }

} // namespace

THttpCli::THttpCli() : FWindow([this](UINT message, WPARAM wParam, LPARAM lParam) { Handle(message, wParam, lParam); }) {
    FSocket.OnDnsLookupDone = [this](int error, unsigned long address) { Guard([&] { LookupDone(error, address); }); };
    FSocket.OnSessionConnected = [this](int error) { Guard([&] { Connected(error); }); };
    FSocket.OnDataAvailable = [this](const char* data, size_t size) { Guard([&] { DataAvailable(data, size); }); };
    FSocket.OnSessionClosed = [this](int) { Guard([&] { ExchangeClosed(); }); };
}

THttpCli::~THttpCli() = default;

void THttpCli::Get() {
    if (FState != httpReady)
        throw EHttpException("HTTP component is busy", httperrBusy);
    if (!Proxy.empty())
        throw EHttpException("HTTP proxy not supported", httperrBadUrl);
    FSession.Accept = Accept;
    FSession.Agent = Agent;
    FStreamError = nullptr;
    FEnding = false;
    FState = httpNotConnected;
    FStartTime = FLastProgress = GetTickCount();
    Guard([this] {
        if (FSession.Begin(URL, BodyLimit))
            StartExchange();
        else
            Finish();
    });
    WaitUntilReady();
    Username = FSession.Username;
    Password = FSession.Password;
    if (FStreamError)
        std::rethrow_exception(std::exchange(FStreamError, nullptr));
    FSession.CheckOutcome();
}

// Every step runs inside a window message; an exception (the stream's) must not unwind through Windows.
void THttpCli::Guard(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        if (!FStreamError)
            FStreamError = std::current_exception();
        FSession.Fail(httperrAborted, "request aborted");
        Finish();
    }
}

void THttpCli::StartExchange() {
    FState = httpDnsLookup;
    FLastProgress = GetTickCount();
    unsigned long address = 0;
    if (ParseDottedAddress(FSession.Host(), address)) {
        StartConnect(address);
        return;
    }
    int error = FSocket.DnsLookup(FSession.Host());
    if (error) {
        FSession.FailNetwork("can't start host name lookup: " + SocketErrorText(error));
        Finish();
    }
}

void THttpCli::LookupDone(int error, unsigned long address) {
    if (FState != httpDnsLookup)
        return;
    FLastProgress = GetTickCount();
    if (error) {
        FSession.FailNetwork("can't resolve hostname to IP address");
        Finish();
        return;
    }
    StartConnect(address);
}

void THttpCli::StartConnect(unsigned long address) {
    FState = httpConnecting;
    unsigned long local = 0;
    if (!ParseDottedAddress(LocalAddr, local))
        local = 0;
    int error = FSocket.Connect(address, ParsePort(FSession.Port()), local);
    if (error) {
        FSession.FailNetwork("can't connect: " + SocketErrorText(error));
        Finish();
    }
}

void THttpCli::Connected(int error) {
    if (FState != httpConnecting)
        return;
    FLastProgress = GetTickCount();
    if (error) {
        FSession.FailNetwork(SocketErrorText(error));
        Finish();
        return;
    }
    FState = httpConnected;
    FSocket.Send(FSession.Request());
    FState = httpWaitingHeader;
}

void THttpCli::DataAvailable(const char* data, size_t size) {
    if (FState != httpWaitingHeader && FState != httpWaitingBody)
        return;
    FLastProgress = GetTickCount();
    HttpSession::Action action = FSession.Receive(data, size, ReceiveStream);
    if (FSession.HeaderDone())
        FState = httpWaitingBody;
    if (action == HttpSession::Action::Close) {
        FSocket.Close();
        ExchangeClosed();
    }
}

void THttpCli::ExchangeClosed() {
    if (FSession.Closed())
        StartExchange();
    else
        Finish();
}

void THttpCli::CheckTime() {
    if (FState == httpReady || FEnding)
        return;
    DWORD now = GetTickCount();
    if (Budget != 0 && now - FStartTime >= Budget) {
        // Not a success even with a complete body: the caller's bound, not a silent server, ends it.
        FSession.Fail(httperrTimeout, "request not finished within its budget of " + Seconds(Budget));
        Finish();
    } else if (now - FStartTime >= MaxRequestTime)
        FailWaiting("request not finished within " + Seconds(MaxRequestTime));
    else if (now - FLastProgress >= Timeout)
        FailWaiting("no data from the server for " + Seconds(Timeout));
}

// A time-out: before the connection stands it is a failed look-up or connection, afterwards the session decides.
void THttpCli::FailWaiting(const std::string& message) {
    if (FState == httpNotConnected || FState == httpDnsLookup)
        FSession.FailNetwork("can't resolve hostname to IP address");
    else if (FState == httpConnecting)
        FSession.FailNetwork(SocketErrorText(WSAETIMEDOUT));
    else
        FSession.TimedOut(message);
    Finish();
}

// The connection is gone; the request ends when the posted message arrives, that is, in a message loop.
void THttpCli::Finish() {
    FSocket.CancelDnsLookup();
    FSocket.Close();
    FState = httpNotConnected;
    if (FEnding)
        return;
    FEnding = true;
    if (!PostMessageA(FWindow.hwnd(), RequestDoneMessage, 0, 0))
        FState = httpReady;
}

void THttpCli::Handle(UINT message, WPARAM, LPARAM) {
    if (message == RequestDoneMessage && FEnding) {
        FEnding = false;
        FState = httpReady;
    }
}

// Each round handles everything that is queued, also what comes after the request's own end, and then waits
// for more; a round that stopped at the end would leave the queue never seen empty, and under Wine that
// makes every later message cost a look at the display connection. The time limits are looked at after
// every message and after every wait, which lasts at most CheckInterval; a timer would cost two more calls
// into the system for every request, and Windows makes no timer message while posted messages keep coming.
void THttpCli::WaitUntilReady() {
    bool quit = false;
    WPARAM quitCode = 0;
    HANDLE none = nullptr;
    while (FState != httpReady) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The application is ending: give up the request, and leave the quit for its own loop.
                quit = true;
                quitCode = message.wParam;
                if (FState != httpReady) {
                    FSession.Fail(httperrAborted, "request aborted");
                    Finish();
                }
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            Guard([this] { CheckTime(); });
        }
        Guard([this] { CheckTime(); });
        if (FState != httpReady)
            MsgWaitForMultipleObjects(0, &none, FALSE, CheckInterval, QS_ALLINPUT);
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
}

} // namespace vur::updater
