// One GET request's protocol state: target, request bytes, the header read from bytes, body, relocations, outcome.
#pragma once

#include "shared/errors.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vur::updater {

// Codes of EHttpException besides the HTTP status codes (404 also for failed look-ups and connections).
enum : int {
    httperrBusy = 1,
    httperrLineTooLong = 4,
    httperrBadLocation = 5,
    httperrTooManyRelocations = 6,
    httperrTimeout = 7,
    httperrBadResponse = 8,
    httperrBadUrl = 9,
    httperrAborted = 10,
    httperrHeaderTooLong = 11,
    httperrBodyTooLong = 12,
    httperrNoConnection = 404,
};

class EHttpException : public EVurError {
public:
    EHttpException(const std::string& message, int code) : EVurError(message), FErrorCode(code) {}
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

// Where the body goes; owned by the caller. Write may throw; the request then ends with that exception.
class OutputStream {
public:
    virtual ~OutputStream() = default;
    virtual void Write(const char* data, size_t size) = 0;
};

// The time a download of that many bytes may take: a floor rate of 200 bytes/s plus a minute for look-up,
// connection and relocations, at most an hour.
std::uint32_t RequestBudgetMs(std::uint64_t expectedBytes);

class HttpSession {
public:
    static constexpr size_t LineLimit = 8192;
    // The header of one exchange, its lines with their line ends (not the empty line that ends it).
    static constexpr size_t HeaderLimit = 65536;
    static constexpr size_t HeaderLineLimit = 200;
    static constexpr int RelocationLimit = 10;

    // Request lines the caller configures.
    std::string Accept;
    std::string Agent;
    std::string Username;
    std::string Password;

    // Starts a request: resets the per-request state and takes the target from the URL, user and password
    // too (both empty when it carries none). A body of more than bodyLimit bytes (0 allows none) fails the
    // request with httperrBodyTooLong, and no byte past the limit reaches the stream; an error page is only
    // cut off there. False when the URL cannot be requested; the failure is then recorded.
    static constexpr std::uint64_t NoBodyLimit = ~std::uint64_t{0};
    bool Begin(const std::string& url, std::uint64_t bodyLimit = NoBodyLimit);

    // The request for the current target.
    std::string Request() const;

    enum class Action { Continue, Close };
    // Feeds received bytes: header lines first, then body bytes to the stream. Close means the component
    // must close the connection now (header over for a relocation, a failure, an error status, no body).
    Action Receive(const char* data, size_t size, OutputStream* stream);

    // The connection is closed. True when a relocation follows: the target is the new one, and the header
    // state is reset for the next exchange. User and password go only to the same host and port.
    bool Closed();

    // The server went silent for too long or the request took too long: ends the request, as a success only
    // when a body of known length is complete.
    void TimedOut(const std::string& message);

    // A failure of the component (look-up, connection, time-out, protocol); the first one is kept.
    void Fail(int code, const std::string& message);
    // Look-up and connection failures: status 404 with the message as reason.
    void FailNetwork(const std::string& message);

    // Raises what the request ended with: the recorded failure, or the status when it is 400 or more.
    void CheckOutcome() const;

    bool Failed() const { return FFailureCode != 0; }
    bool HeaderDone() const { return FPhase != Phase::Header; }
    bool BodyComplete() const;

    int StatusCode() const { return FStatusCode; }
    const std::string& ReasonPhrase() const { return FReasonPhrase; }
    long ContentLength() const { return FContentLength; }
    const std::string& ContentType() const { return FContentType; }
    const std::vector<std::string>& Headers() const { return FHeaders; }
    std::uint32_t ReceivedBytes() const { return static_cast<std::uint32_t>(FReceivedBytes); }
    const std::string& Host() const { return FHost; }
    const std::string& Port() const { return FPort; }
    const std::string& Path() const { return FPath; }
    bool Relocating() const { return FRelocating; }
    int Relocations() const { return FRelocations; }

private:
    enum class Phase { Header, Body, Done };

    void ResetExchange();
    Action HandleLine(const std::string& line);
    Action EndOfHeader(const char* rest, size_t size, OutputStream* stream);
    Action WriteBody(const char* data, size_t size, OutputStream* stream);

    Phase FPhase = Phase::Done;
    std::string FLine;
    int FStatusCode = 0;
    std::string FReasonPhrase;
    long FContentLength = -1;
    std::string FContentType;
    std::vector<std::string> FHeaders;
    size_t FHeaderBytes = 0;
    std::uint64_t FReceivedBytes = 0;
    std::uint64_t FBodyLimit = NoBodyLimit;
    std::string FHost;
    std::string FPort = "80";
    std::string FPath = "/";
    bool FRelocating = false;
    bool FLocationValid = false;
    std::string FLocation;
    std::string FNewHost, FNewPort, FNewPath;
    int FRelocations = 0;
    int FFailureCode = 0;
    std::string FFailure;
};

} // namespace vur::updater
