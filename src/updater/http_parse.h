// Pure HTTP pieces of the download client: URL splitting, request bytes, status and header lines, relocation.
#pragma once

#include <string>

namespace vur::updater {

struct THttpUrl {
    std::string Scheme = "http";
    std::string Username;
    std::string Password;
    std::string Host;
    std::string Port = "80";
    std::string Path = "/";
};

// Splits a URL into its parts; never fails. A path that begins with "?" gets a leading "/" so that the
// request line stays a valid request target.
THttpUrl ParseUrl(const std::string& url);

// Parses a port text into 1..65535; 0 when it is not a plain decimal number in that range.
unsigned ParsePort(const std::string& port);

// Parses "a.b.c.d" with four decimal parts of at most 255 into host byte order; false for anything else,
// so that only a dotted numeric host skips the name look-up.
bool ParseDottedAddress(const std::string& host, unsigned long& address);

// True when every character of the host can go into a request's Host line and a name look-up.
bool IsPlainHostName(const std::string& host);

struct THttpRequestLines {
    std::string Path;
    std::string Host;
    std::string Accept;
    std::string Agent;
    std::string Username; // Authorization is sent only when this is not empty
    std::string Password;
};

// The whole GET request of HTTP/1.0, each line ended by CR LF, the block by an empty line. Blanks and
// control characters in the path are percent-encoded so that no value can break the request line.
std::string BuildGetRequest(const THttpRequestLines& lines);

// A status line "HTTP/1.0 ..." or "HTTP/1.1 ...": the code from characters 10 to 12 and the reason from
// character 14. IsStatusLine decides only by the prefix; ParseStatusLine is false when the code is not
// three digits.
bool IsStatusLine(const std::string& line);
bool ParseStatusLine(const std::string& line, int& code, std::string& reason);

// Splits "Name: value" into the lower-cased name and the value with leading blanks skipped; false without ":".
bool SplitHeaderField(const std::string& line, std::string& name, std::string& value);

// The Content-Length value as a non-negative 32-bit number; false when it is anything else.
bool ParseContentLength(const std::string& value, long& length);

// The target of a Location value, resolved against the current host, port and path. False for a value the
// client cannot follow: empty, another scheme than http, or an absolute URL without a host.
bool ResolveLocation(const std::string& value, const std::string& host, const std::string& port,
                     const std::string& path, std::string& newHost, std::string& newPort, std::string& newPath);

std::string LowerCase(std::string text);

} // namespace vur::updater
