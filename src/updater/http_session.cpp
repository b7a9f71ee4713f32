// The protocol side of a GET: the header cut into lines, its fields, the body, relocations and the outcome.
#include "updater/http_session.h"

#include "updater/http_parse.h"

#include <cstring>

namespace vur::updater {

namespace {

bool BeginsWithHtmlTag(const char* data) {
    static const char tag[] = "<HTML>";
    for (int i = 0; i < 6; ++i) {
        char c = data[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != tag[i])
            return false;
    }
    return true;
}

} // namespace

std::uint32_t RequestBudgetMs(std::uint64_t expectedBytes) {
    const std::uint64_t floorRate = 200; // bytes per second
    const std::uint64_t slack = 60000, cap = 3600000;
    if (expectedBytes >= (cap - slack) * floorRate / 1000)
        return static_cast<std::uint32_t>(cap);
    return static_cast<std::uint32_t>(slack + (expectedBytes * 1000 + floorRate - 1) / floorRate);
}

bool HttpSession::Begin(const std::string& url, std::uint64_t bodyLimit) {
    FRelocations = 0;
    FBodyLimit = bodyLimit;
    FFailureCode = 0;
    FFailure.clear();
    ResetExchange();
    THttpUrl parts = ParseUrl(url);
    FHost = parts.Host;
    FPort = parts.Port;
    FPath = parts.Path;
    // Credentials of an earlier request must not go to this one's server.
    Username = parts.Username;
    Password = parts.Password;
    if (LowerCase(parts.Scheme) != "http") {
        Fail(httperrBadUrl, "can't handle URL scheme \"" + parts.Scheme + "\"");
    } else if (FHost.empty()) {
        FailNetwork("no host name to look up");
    } else if (!IsPlainHostName(FHost)) {
        FailNetwork("can't resolve hostname to IP address");
    } else if (ParsePort(FPort) == 0) {
        FailNetwork("can't connect: invalid port \"" + FPort + "\"");
    }
    return !Failed();
}

void HttpSession::ResetExchange() {
    FPhase = Phase::Header;
    FLine.clear();
    FHeaders.clear();
    FHeaderBytes = 0;
    FStatusCode = 0;
    FContentLength = -1;
    FContentType.clear();
    FReceivedBytes = 0;
    FRelocating = false;
    FLocationValid = false;
    FLocation.clear();
}

std::string HttpSession::Request() const {
    THttpRequestLines lines;
    lines.Path = FPath;
    lines.Host = FHost;
    lines.Accept = Accept;
    lines.Agent = Agent;
    lines.Username = Username;
    lines.Password = Password;
    return BuildGetRequest(lines);
}

HttpSession::Action HttpSession::Receive(const char* data, size_t size, OutputStream* stream) {
    if (Failed() || FPhase == Phase::Done)
        return Action::Close;
    if (FPhase == Phase::Body)
        return WriteBody(data, size, stream);

    size_t pos = 0;
    while (pos < size) {
        // A line that opens with <HTML> is body, decided as soon as its first six bytes are there.
        size_t have = FLine.size() + (size - pos);
        if (have >= 6) {
            char head[6];
            size_t fromLine = FLine.size() < 6 ? FLine.size() : 6;
            std::memcpy(head, FLine.data(), fromLine);
            std::memcpy(head + fromLine, data + pos, 6 - fromLine);
            if (BeginsWithHtmlTag(head)) {
                if (FContentType.empty())
                    FContentType = "text/html";
                FPhase = Phase::Body;
                std::string line;
                line.swap(FLine);
                if (WriteBody(line.data(), line.size(), stream) == Action::Close)
                    return Action::Close;
                return WriteBody(data + pos, size - pos, stream);
            }
        }
        const void* found = std::memchr(data + pos, '\n', size - pos);
        size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - data) : size;
        if (FLine.size() + (end - pos) >= LineLimit) {
            Fail(httperrLineTooLong, "HTTP line too long");
            return Action::Close;
        }
        FLine.append(data + pos, end - pos);
        if (!found)
            return Action::Continue;
        pos = end + 1;
        std::string line;
        line.swap(FLine);
        size_t lineBytes = line.size() + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            return EndOfHeader(data + pos, size - pos, stream);
        // Counted at the line end only, so that the outcome does not depend on how the bytes were cut up;
        // the unfinished line is bounded by LineLimit.
        FHeaderBytes += lineBytes;
        if (FHeaderBytes > HeaderLimit) {
            Fail(httperrHeaderTooLong, "HTTP header too long (more than " + std::to_string(HeaderLimit) + " bytes)");
            return Action::Close;
        }
        if (FHeaders.size() >= HeaderLineLimit) {
            Fail(httperrHeaderTooLong, "HTTP header too long (more than " + std::to_string(HeaderLineLimit) + " lines)");
            return Action::Close;
        }
        if (HandleLine(line) == Action::Close)
            return Action::Close;
    }
    return Action::Continue;
}

HttpSession::Action HttpSession::HandleLine(const std::string& line) {
    FHeaders.push_back(line);
    if (IsStatusLine(line)) {
        if (!ParseStatusLine(line, FStatusCode, FReasonPhrase)) {
            Fail(httperrBadResponse, "malformed HTTP status line");
            return Action::Close;
        }
        return Action::Continue;
    }
    std::string name, value;
    if (!SplitHeaderField(line, name, value))
        return Action::Continue;
    if (name == "location") {
        FRelocating = true;
        FLocation = value;
        FLocationValid = ResolveLocation(value, FHost, FPort, FPath, FNewHost, FNewPort, FNewPath);
    } else if (name == "content-length") {
        long length;
        if (ParseContentLength(value, length))
            FContentLength = length;
    } else if (name == "content-type") {
        FContentType = LowerCase(value);
    }
    return Action::Continue;
}

HttpSession::Action HttpSession::EndOfHeader(const char* rest, size_t size, OutputStream* stream) {
    if (FRelocating) {
        FPhase = Phase::Done;
        if (!FLocationValid)
            Fail(httperrBadLocation, "can't follow relocation to \"" + FLocation.substr(0, 200) + "\"");
        else if (FRelocations >= RelocationLimit)
            Fail(httperrTooManyRelocations, "too many relocations (more than " + std::to_string(RelocationLimit) + ")");
        return Action::Close;
    }
    if (FContentLength == 0) {
        FPhase = Phase::Done;
        return Action::Close;
    }
    if (FStatusCode < 400 && FContentLength > 0 &&
        static_cast<std::uint64_t>(FContentLength) > FBodyLimit) {
        FPhase = Phase::Done;
        Fail(httperrBodyTooLong, "Content-Length " + std::to_string(FContentLength) + " over the limit of " +
                                     std::to_string(FBodyLimit) + " bytes");
        return Action::Close;
    }
    FPhase = Phase::Body;
    if (WriteBody(rest, size, stream) == Action::Close)
        return Action::Close;
    if (FStatusCode < 400)
        return Action::Continue;
    FPhase = Phase::Done; // an error page is not read to its end
    return Action::Close;
}

HttpSession::Action HttpSession::WriteBody(const char* data, size_t size, OutputStream* stream) {
    if (size == 0)
        return Action::Continue;
    // FReceivedBytes never passes a limit, so the difference is the room left.
    bool over = size > FBodyLimit - FReceivedBytes;
    size_t room = over ? static_cast<size_t>(FBodyLimit - FReceivedBytes) : size;
    FReceivedBytes += room;
    if (stream && room > 0)
        stream->Write(data, room);
    if (!over)
        return Action::Continue;
    FPhase = Phase::Done;
    // An error page is cut off, not turned into a failure: its status says more.
    if (FStatusCode < 400)
        Fail(httperrBodyTooLong, "body longer than the limit of " + std::to_string(FBodyLimit) + " bytes");
    return Action::Close;
}

bool HttpSession::Closed() {
    if (!Failed() && FRelocating && FLocationValid && FPhase == Phase::Done) {
        ++FRelocations;
        if (LowerCase(FNewHost) != LowerCase(FHost) || ParsePort(FNewPort) != ParsePort(FPort)) {
            Username.clear();
            Password.clear();
        }
        FHost = FNewHost;
        FPort = FNewPort;
        FPath = FNewPath;
        ResetExchange();
        return true;
    }
    if (!Failed()) {
        if (FPhase == Phase::Header)
            Fail(httperrBadResponse, "connection closed before the end of the HTTP header");
        else if (FPhase == Phase::Body && FContentLength >= 0 && FReceivedBytes < static_cast<std::uint64_t>(FContentLength))
            Fail(httperrBadResponse, "connection closed after " + std::to_string(FReceivedBytes) + " of " +
                                         std::to_string(FContentLength) + " bytes");
    }
    FPhase = Phase::Done;
    return false;
}

bool HttpSession::BodyComplete() const {
    return FPhase != Phase::Header && !FRelocating && FContentLength >= 0 &&
           FReceivedBytes >= static_cast<std::uint64_t>(FContentLength);
}

void HttpSession::TimedOut(const std::string& message) {
    if (FPhase == Phase::Done)
        return;
    if (!BodyComplete())
        Fail(httperrTimeout, message);
    FPhase = Phase::Done;
}

void HttpSession::Fail(int code, const std::string& message) {
    if (Failed())
        return;
    FFailureCode = code;
    FFailure = message;
    FReasonPhrase = message;
}

void HttpSession::FailNetwork(const std::string& message) {
    if (Failed())
        return;
    Fail(httperrNoConnection, message);
    FStatusCode = 404;
}

void HttpSession::CheckOutcome() const {
    if (Failed())
        throw EHttpException(FFailure, FFailureCode);
    if (FStatusCode >= 400)
        throw EHttpException(FReasonPhrase, FStatusCode);
}

} // namespace vur::updater
