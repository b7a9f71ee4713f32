// Fuzzing the response side: random and mutated headers, fed whole and in random pieces, with a fixed seed.
#include "http_stream.h"

#include "updater/http_parse.h"

#include <gtest/gtest.h>

#include <random>

namespace vur::updater {
namespace {

const std::string Fragments[] = {
    "HTTP/1.1 200 OK",  "HTTP/1.0 404 Not Found", "HTTP/1.1 302 Found", "HTTP/1.1 ", "HTTP/1.0 9",
    "Location: ",       "location:http://127.0.0.2/x", "Location: //h:8/p", "Location: ../a?b", "Location: ftp://x",
    "Content-Length: ", "content-length: 0",      "Content-Length: 5", "Content-Type: TEXT/Plain", "<html>",
    "<HTM",             "L>",                     ":",                 " ",                        "\r\n",
    "\n",               "\r",                     "\r\n\r\n",          "\n\n",                     "abc",
    "4294967295",       "2147483648",             "http://",           "/",                        "?",
    "@",                "\xE4",                   std::string(1, '\0'),
};

std::string RandomInput(std::mt19937& random) {
    std::string input;
    int pieces = static_cast<int>(random() % 24);
    for (int i = 0; i < pieces; ++i) {
        switch (random() % 10) {
        case 0:
            input.append(random() % 9000, static_cast<char>('a' + random() % 26));
            break;
        case 1:
            input += static_cast<char>(random() % 256);
            break;
        default:
            input += Fragments[random() % (sizeof Fragments / sizeof Fragments[0])];
        }
    }
    // Mutations: flip, drop or duplicate bytes.
    for (int m = static_cast<int>(random() % 4); m > 0 && !input.empty(); --m) {
        size_t at = random() % input.size();
        switch (random() % 3) {
        case 0:
            input[at] = static_cast<char>(input[at] ^ (1 << (random() % 8)));
            break;
        case 1:
            input.erase(at, 1);
            break;
        default:
            input.insert(at, 1, input[at]);
        }
    }
    return input;
}

struct TResult {
    bool Relocated = false;
    int Status = 0, Code = 0;
    std::string Reason, Type, Body, Host, Port, Path;
    long Length = 0;
    std::vector<std::string> Headers;
    bool operator==(const TResult& o) const {
        // An error page is cut off after the piece that ended its header, so only its start must agree.
        bool sameBody = Status >= 400 ? Body.compare(0, o.Body.size(), o.Body) == 0 || o.Body.compare(0, Body.size(), Body) == 0
                                      : Body == o.Body;
        return Relocated == o.Relocated && Status == o.Status && Code == o.Code && Reason == o.Reason &&
               Type == o.Type && sameBody && Host == o.Host && Port == o.Port && Path == o.Path &&
               Length == o.Length && Headers == o.Headers;
    }
};

TResult Exchange(const std::string& input, std::mt19937* chunks) {
    HttpSession session;
    TStringStream body;
    EXPECT_TRUE(session.Begin("http://127.0.0.1:8080/d/f?q"));
    size_t pos = 0;
    while (pos < input.size()) {
        size_t size = chunks ? 1 + (*chunks)() % 20 : input.size();
        size = std::min(size, input.size() - pos);
        if (session.Receive(input.data() + pos, size, &body) == HttpSession::Action::Close)
            break;
        pos += size;
    }
    TResult result;
    result.Headers = session.Headers();
    result.Relocated = session.Closed();
    result.Status = session.StatusCode();
    result.Reason = session.ReasonPhrase();
    result.Type = session.ContentType();
    result.Length = session.ContentLength();
    result.Body = body.Bytes;
    result.Host = session.Host();
    result.Port = session.Port();
    result.Path = session.Path();
    EXPECT_EQ(session.ReceivedBytes(), body.Bytes.size());
    try {
        session.CheckOutcome();
    } catch (const EHttpException& e) {
        result.Code = e.ErrorCode();
    }
    if (result.Relocated) {
        // Whatever the server sent, the next request is well formed.
        EXPECT_EQ(result.Path[0], '/');
        EXPECT_TRUE(IsPlainHostName(result.Host));
        EXPECT_NE(ParsePort(result.Port), 0u);
        std::string request = session.Request();
        EXPECT_EQ(request.find("\r\n\r\n"), request.size() - 4);
        EXPECT_EQ(request.find('\n'), request.find("\r\n") + 1);
        EXPECT_EQ(request.substr(0, request.find("\r\n")).find_first_of(" ", 4), request.find(" HTTP/1.0"));
    }
    for (const std::string& line : result.Headers) {
        EXPECT_FALSE(line.empty());
        EXPECT_LT(line.size(), HttpSession::LineLimit);
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    return result;
}

TEST(HttpFuzz, ResponsesGiveTheSameResultInAnyPiecesAndKeepInvariants) {
    std::mt19937 random(20260808);
    for (int iteration = 0; iteration < 3000; ++iteration) {
        std::string input = RandomInput(random);
        TResult whole = Exchange(input, nullptr);
        std::mt19937 chunks(static_cast<unsigned>(iteration));
        TResult pieces = Exchange(input, &chunks);
        ASSERT_TRUE(whole == pieces) << "iteration " << iteration;
    }
}

TEST(HttpFuzz, UrlsAndLocationsNeverGiveABrokenRequest) {
    std::mt19937 random(4711);
    const std::string alphabet = "htp:/@?#.:%19aZ \r\n\x01\xFF";
    for (int iteration = 0; iteration < 5000; ++iteration) {
        std::string text;
        for (int n = static_cast<int>(random() % 30); n > 0; --n)
            text += alphabet[random() % alphabet.size()];
        if (random() % 2)
            text = "http://" + text;
        HttpSession session;
        if (session.Begin(text)) {
            std::string request = session.Request();
            EXPECT_EQ(request.find("\r\n\r\n"), request.size() - 4) << text;
            EXPECT_EQ(session.Path()[0], '/') << text;
        }
        std::string host, port, path;
        if (ResolveLocation(text, "h", "80", "/a/b", host, port, path)) {
            EXPECT_TRUE(IsPlainHostName(host)) << text;
            EXPECT_EQ(path[0], '/') << text;
        }
    }
}

} // namespace
} // namespace vur::updater
