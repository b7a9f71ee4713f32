// URL splitting, request bytes, status and header lines and relocation targets, computed from bytes only.
#include "updater/http_parse.h"

#include "shared/base64.h"

namespace vur::updater {

namespace {

bool IsSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
           c == '.';
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && LowerCase(text.substr(0, prefix.size())) == prefix;
}

// Length of a leading "scheme:" (without the colon), or 0 when the text does not begin with one.
size_t SchemeLength(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsSchemeChar(text[i]))
        ++i;
    return (i > 0 && i < text.size() && text[i] == ':') ? i : 0;
}

std::string WithoutFragment(const std::string& text) { return text.substr(0, text.find('#')); }

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string EncodedPath(const std::string& path) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (unsigned char c : path) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

THttpUrl ParseUrl(const std::string& url) {
    THttpUrl result;
    std::string rest = url;
    size_t separator = url.find("://");
    if (separator != std::string::npos && separator > 0) {
        bool scheme = true;
        for (size_t i = 0; i < separator; ++i)
            scheme = scheme && IsSchemeChar(url[i]);
        if (scheme) {
            result.Scheme = url.substr(0, separator);
            rest = url.substr(separator + 3);
        }
    }
    size_t authorityEnd = rest.find_first_of("/?");
    std::string authority = rest.substr(0, authorityEnd);
    if (authorityEnd != std::string::npos)
        result.Path = WithoutFragment(rest.substr(authorityEnd));
    if (result.Path.empty())
        result.Path = "/";
    else if (result.Path[0] == '?')
        result.Path = "/" + result.Path;

    size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        std::string userInfo = authority.substr(0, at);
        size_t colon = userInfo.find(':');
        result.Username = userInfo.substr(0, colon);
        if (colon != std::string::npos)
            result.Password = userInfo.substr(colon + 1);
        authority = authority.substr(at + 1);
    }
    authority = WithoutFragment(authority);
    size_t colon = authority.rfind(':');
    result.Host = authority.substr(0, colon);
    if (colon != std::string::npos && colon + 1 < authority.size())
        result.Port = authority.substr(colon + 1);
    return result;
}

unsigned ParsePort(const std::string& port) {
    if (port.empty() || port.size() > 5)
        return 0;
    unsigned value = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 65535 ? value : 0;
}

bool ParseDottedAddress(const std::string& host, unsigned long& address) {
    unsigned long result = 0;
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= host.size() || host[pos] != '.')
                return false;
            ++pos;
        }
        size_t start = pos;
        unsigned value = 0;
        while (pos < host.size() && pos - start < 3 && host[pos] >= '0' && host[pos] <= '9')
            value = value * 10 + static_cast<unsigned>(host[pos++] - '0');
        if (pos == start || value > 255)
            return false;
        result = (result << 8) | value;
    }
    if (pos != host.size())
        return false;
    address = result;
    return true;
}

bool IsPlainHostName(const std::string& host) {
    if (host.empty() || host.size() > 255)
        return false;
    for (unsigned char c : host)
        if (c <= 0x20 || c >= 0x7F || c == '/' || c == '\\' || c == '@' || c == '%')
            return false;
    return true;
}

std::string BuildGetRequest(const THttpRequestLines& lines) {
    std::string request = "GET " + EncodedPath(lines.Path) + " HTTP/1.0\r\n";
    request += "Accept: " + lines.Accept + "\r\n";
    request += "User-Agent: " + lines.Agent + "\r\n";
    request += "Host: " + lines.Host + "\r\n";
    if (!lines.Username.empty())
        request += "Authorization: Basic " + Base64Encode(lines.Username + ":" + lines.Password) + "\r\n";
    request += "\r\n";
    return request;
}

bool IsStatusLine(const std::string& line) { return StartsWith(line, "HTTP/1.0") || StartsWith(line, "HTTP/1.1"); }

bool ParseStatusLine(const std::string& line, int& code, std::string& reason) {
    if (!IsStatusLine(line) || line.size() < 12)
        return false;
    int value = 0;
    for (size_t i = 9; i < 12; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return false;
        value = value * 10 + (line[i] - '0');
    }
    code = value;
    reason = line.size() > 13 ? line.substr(13) : std::string();
    return true;
}

bool SplitHeaderField(const std::string& line, std::string& name, std::string& value) {
    size_t colon = line.find(':');
    if (colon == std::string::npos)
        return false;
    name = LowerCase(line.substr(0, colon));
    size_t start = line.find_first_not_of(" \t", colon + 1);
    value = start == std::string::npos ? std::string() : line.substr(start);
    return true;
}

bool ParseContentLength(const std::string& value, long& length) {
    std::string digits = Trimmed(value);
    if (digits.empty() || digits.size() > 10)
        return false;
    long long result = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        result = result * 10 + (c - '0');
    }
    if (result > 0x7FFFFFFF)
        return false;
    length = static_cast<long>(result);
    return true;
}

bool ResolveLocation(const std::string& value, const std::string& host, const std::string& port,
                     const std::string& path, std::string& newHost, std::string& newPort, std::string& newPath) {
    std::string target = WithoutFragment(Trimmed(value));
    if (target.empty())
        return false;
    if (StartsWith(target, "//"))
        target = "http:" + target;
    if (StartsWithNoCase(target, "http://")) {
        THttpUrl url = ParseUrl(target);
        if (!IsPlainHostName(url.Host) || ParsePort(url.Port) == 0)
            return false;
        newHost = url.Host;
        newPort = url.Port;
        newPath = url.Path;
        return true;
    }
    if (SchemeLength(target) > 0)
        return false;
    newHost = host;
    newPort = port;
    if (target[0] == '/') {
        newPath = target;
    } else {
        std::string directory = path.substr(0, path.find('?'));
        size_t last = directory.find_last_of("/:");
        directory = last == std::string::npos ? std::string("/") : directory.substr(0, last + 1);
        newPath = directory + target;
    }
    return true;
}

} // namespace vur::updater
