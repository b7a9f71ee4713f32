// One request's protocol state: header lines, body, relocations and the outcome that Get raises.
#include "http_stream.h"

#include <gtest/gtest.h>

namespace vur::updater {
namespace {

using Action = HttpSession::Action;

struct HttpSessionTest : ::testing::Test {
    HttpSession session;
    TStringStream body;

    void SetUp() override {
        session.Accept = "*/*";
        session.Agent = "Mozilla/3.0 (compatible)";
        ASSERT_TRUE(session.Begin("http://127.0.0.1:8080/dir/updates.dat"));
    }
    Action Feed(const std::string& bytes) { return session.Receive(bytes.data(), bytes.size(), &body); }
    int OutcomeCode() {
        try {
            session.CheckOutcome();
        } catch (const EHttpException& e) {
            return e.ErrorCode();
        }
        return 0;
    }
};

TEST_F(HttpSessionTest, BodyUntilCloseWithFieldsAndRawLines) {
    EXPECT_EQ(Feed("HTTP/1.1 200 OK\r\nContent-Type: Application/Octet-Stream\r\nX-A:b\r\n\r\nab"), Action::Continue);
    EXPECT_EQ(Feed("cd"), Action::Continue);
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(body.Bytes, "abcd");
    EXPECT_EQ(session.ReceivedBytes(), 4u);
    EXPECT_EQ(session.StatusCode(), 200);
    EXPECT_EQ(session.ReasonPhrase(), "OK");
    EXPECT_EQ(session.ContentLength(), -1);
    EXPECT_EQ(session.ContentType(), "application/octet-stream");
    EXPECT_EQ(session.Headers(),
              (std::vector<std::string>{"HTTP/1.1 200 OK", "Content-Type: Application/Octet-Stream", "X-A:b"}));
    EXPECT_EQ(OutcomeCode(), 0);
}

TEST_F(HttpSessionTest, ContentLengthDoesNotStopReadingAndZeroEndsAtOnce) {
    Feed("HTTP/1.0 200 OK\nContent-Length: 2\n\nabcdef");
    EXPECT_EQ(body.Bytes, "abcdef");
    EXPECT_TRUE(session.BodyComplete());

    ASSERT_TRUE(session.Begin("http://h/x"));
    body.Bytes.clear();
    EXPECT_EQ(Feed("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\nignored"), Action::Close);
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(body.Bytes, "");
    EXPECT_EQ(OutcomeCode(), 0);
}

TEST_F(HttpSessionTest, HtmlLineEndsTheHeaderAndIsBody) {
    EXPECT_EQ(Feed("<hTmL><body>\r\nrest"), Action::Continue);
    EXPECT_EQ(body.Bytes, "<hTmL><body>\r\nrest");
    EXPECT_EQ(session.ContentType(), "text/html");
    EXPECT_EQ(session.StatusCode(), 0);
    // Also after a status line, and a given type is kept; six bytes are enough to decide.
    ASSERT_TRUE(session.Begin("http://h/"));
    body.Bytes.clear();
    Feed("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n<HTM");
    EXPECT_EQ(body.Bytes, "");
    Feed("L>x");
    EXPECT_EQ(body.Bytes, "<HTML>x");
    EXPECT_EQ(session.ContentType(), "text/plain");
}

TEST_F(HttpSessionTest, ErrorStatusWritesBufferedBodyClosesAndRaises) {
    EXPECT_EQ(Feed("HTTP/1.1 404 Not Found\r\nContent-Length: 100\r\n\r\n<p>weg"), Action::Close);
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(body.Bytes, "<p>weg");
    try {
        session.CheckOutcome();
        FAIL() << "no exception";
    } catch (const EHttpException& e) {
        EXPECT_EQ(e.ErrorCode(), 404);
        EXPECT_STREQ(e.what(), "Not Found");
    }
}

TEST_F(HttpSessionTest, LineLimitIs8192BufferedBytesWithoutLineEnd) {
    std::string fits(8191, 'x');
    EXPECT_EQ(Feed("HTTP/1.0 200 OK\r\nX-Long: " + fits.substr(8) + "\n"), Action::Continue);
    EXPECT_EQ(session.Headers().back().size(), 8191u);
    EXPECT_EQ(Feed(std::string(8191, 'y')), Action::Continue);
    EXPECT_EQ(Feed("y"), Action::Close);
    EXPECT_EQ(session.ReasonPhrase(), "HTTP line too long");
    EXPECT_EQ(OutcomeCode(), httperrLineTooLong);
    EXPECT_EQ(session.StatusCode(), 200);
}

TEST_F(HttpSessionTest, RelativeAbsoluteAndOtherHostRelocations) {
    EXPECT_EQ(Feed("HTTP/1.1 302 Found\r\nLocation: neu.dat\r\n\r\nbody of the 302"), Action::Close);
    ASSERT_TRUE(session.Closed());
    EXPECT_EQ(body.Bytes, "");
    EXPECT_EQ(session.Path(), "/dir/neu.dat");
    EXPECT_EQ(session.Port(), "8080");
    EXPECT_EQ(session.StatusCode(), 0);
    EXPECT_TRUE(session.Headers().empty());

    Feed("HTTP/1.1 301 Moved\r\nLocation: /oben.dat\r\n\r\n");
    ASSERT_TRUE(session.Closed());
    EXPECT_EQ(session.Path(), "/oben.dat");

    Feed("HTTP/1.1 302 Found\r\nlocation: http://127.0.0.2/ziel.bin\r\n\r\n");
    ASSERT_TRUE(session.Closed());
    EXPECT_EQ(session.Host(), "127.0.0.2");
    EXPECT_EQ(session.Port(), "80");
    EXPECT_EQ(session.Request(), "GET /ziel.bin HTTP/1.0\r\nAccept: */*\r\nUser-Agent: Mozilla/3.0 (compatible)\r\n"
                                 "Host: 127.0.0.2\r\n\r\n");
    Feed("HTTP/1.1 200 OK\r\n\r\nfinal");
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(body.Bytes, "final");
    EXPECT_EQ(session.Relocations(), 3);
}

TEST_F(HttpSessionTest, RelocationLimitAndUnfollowableTargets) {
    for (int i = 0; i < HttpSession::RelocationLimit; ++i) {
        Feed("HTTP/1.1 302 Found\r\nLocation: /again\r\n\r\n");
        ASSERT_TRUE(session.Closed()) << i;
    }
    Feed("HTTP/1.1 302 Found\r\nLocation: /again\r\n\r\n");
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(OutcomeCode(), httperrTooManyRelocations);

    for (const char* target : {"Location: https://h/", "Location:", "Location: ftp://h/f"}) {
        ASSERT_TRUE(session.Begin("http://h/"));
        Feed(std::string("HTTP/1.1 302 Found\r\n") + target + "\r\n\r\n");
        EXPECT_FALSE(session.Closed()) << target;
        EXPECT_EQ(OutcomeCode(), httperrBadLocation) << target;
        EXPECT_NE(session.ReasonPhrase().find("can't follow relocation"), std::string::npos);
    }
}

TEST_F(HttpSessionTest, EarlyCloses) {
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(OutcomeCode(), httperrBadResponse);

    ASSERT_TRUE(session.Begin("http://h/"));
    Feed("HTTP/1.1 200 OK\r\nContent-Le");
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(OutcomeCode(), httperrBadResponse);

    ASSERT_TRUE(session.Begin("http://h/"));
    Feed("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n12345");
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(session.ReasonPhrase(), "connection closed after 5 of 10 bytes");

    // Without a length the body is whatever arrived.
    ASSERT_TRUE(session.Begin("http://h/"));
    Feed("HTTP/1.1 200 OK\r\n\r\n12345");
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(OutcomeCode(), 0);
}

TEST_F(HttpSessionTest, TimeOutsSucceedOnlyForACompleteBody) {
    session.TimedOut("no data");
    EXPECT_EQ(OutcomeCode(), httperrTimeout);

    ASSERT_TRUE(session.Begin("http://h/"));
    Feed("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc");
    session.TimedOut("no data");
    EXPECT_EQ(OutcomeCode(), 0);

    ASSERT_TRUE(session.Begin("http://h/"));
    Feed("HTTP/1.1 200 OK\r\n\r\nabc");
    session.TimedOut("no data");
    EXPECT_EQ(OutcomeCode(), httperrTimeout);
}

TEST_F(HttpSessionTest, BeginRefusesWhatCannotBeRequested) {
    EXPECT_FALSE(session.Begin("https://h/"));
    EXPECT_EQ(OutcomeCode(), httperrBadUrl);
    EXPECT_FALSE(session.Begin("http:///pfad"));
    EXPECT_EQ(session.StatusCode(), 404);
    EXPECT_FALSE(session.Begin("http://h:99999/"));
    EXPECT_EQ(OutcomeCode(), 404);
    EXPECT_EQ(session.ReasonPhrase(), "can't connect: invalid port \"99999\"");
    ASSERT_TRUE(session.Begin("http://user:pw@h/"));
    EXPECT_EQ(session.Username, "user");
    EXPECT_NE(session.Request().find("Authorization: Basic dXNlcjpwdw==\r\n"), std::string::npos);
    EXPECT_EQ(session.ReasonPhrase(), "can't connect: invalid port \"99999\""); // kept until replaced
}

// A status line and filler lines of exactly `bytes` header bytes in all, with CR LF ends.
std::string HeaderOf(size_t bytes) {
    std::string header = "HTTP/1.0 302 Found\r\nLocation: /next\r\n";
    while (header.size() < bytes) {
        size_t left = bytes - header.size();
        size_t line = left <= 8000 ? left : left < 8006 ? 7000 : 8000; // no line shorter than "X: x\r\n"
        header += "X: " + std::string(line - 5, 'x') + "\r\n";
    }
    return header;
}

TEST_F(HttpSessionTest, HeaderIsCappedInBytesAndLinesForEachExchange) {
    // Two relocations with a full header each: the count starts anew with every exchange.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Feed(HeaderOf(HttpSession::HeaderLimit - 2) + "y\n\r\n"), Action::Close) << i;
        ASSERT_TRUE(session.Closed()) << i;
    }
    std::string lines = "HTTP/1.0 200 OK\r\n";
    for (size_t i = 1; i < HttpSession::HeaderLineLimit; ++i)
        lines += "A: b\r\n";
    EXPECT_EQ(Feed(lines + "\r\nok"), Action::Continue);
    EXPECT_EQ(body.Bytes, "ok");

    // One byte or one line more fails, however the bytes are cut up.
    for (const std::string& over : {HeaderOf(HttpSession::HeaderLimit + 1), lines + "A: b\n"}) {
        for (size_t piece : {over.size(), size_t(7)}) {
            ASSERT_TRUE(session.Begin("http://h/"));
            body.Bytes.clear();
            std::string bytes = over + "\r\nbody";
            Action last = Action::Continue;
            for (size_t pos = 0; pos < bytes.size() && last == Action::Continue; pos += piece)
                last = Feed(bytes.substr(pos, piece));
            EXPECT_EQ(last, Action::Close);
            EXPECT_FALSE(session.Closed());
            EXPECT_EQ(OutcomeCode(), httperrHeaderTooLong);
            EXPECT_EQ(session.ReasonPhrase().find("HTTP header too long (more than "), 0u);
            EXPECT_EQ(body.Bytes, "");
        }
    }
}

TEST_F(HttpSessionTest, BodyLimitWritesNoBytePastIt) {
    // Up to the limit is fine; the chunk that passes it is written up to the limit and fails at once.
    ASSERT_TRUE(session.Begin("http://h/", 5));
    EXPECT_EQ(Feed("HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\nrelocation page"), Action::Close);
    ASSERT_TRUE(session.Closed());
    EXPECT_EQ(Feed("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nabc"), Action::Continue);
    EXPECT_EQ(Feed("de"), Action::Continue);
    EXPECT_EQ(Feed("fgh"), Action::Close);
    EXPECT_FALSE(session.Closed());
    EXPECT_EQ(body.Bytes, "abcde");
    EXPECT_EQ(session.ReceivedBytes(), 5u);
    EXPECT_EQ(OutcomeCode(), httperrBodyTooLong);
    EXPECT_EQ(session.ReasonPhrase(), "body longer than the limit of 5 bytes");

    struct TCase {
        std::string Response, Body, Reason;
        int Code;
    };
    const TCase cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\nabc", "", "Content-Length 6 over the limit of 5 bytes", 12},
        {"<html>body", "<html", "body longer than the limit of 5 bytes", 12},
        {"HTTP/1.0 404 Not Found\r\nContent-Length: 99\r\n\r\n<p>weg", "<p>we", "Not Found", 404},
    };
    for (const TCase& c : cases) {
        ASSERT_TRUE(session.Begin("http://h/", 5));
        body.Bytes.clear();
        EXPECT_EQ(Feed(c.Response), Action::Close) << c.Response;
        EXPECT_EQ(body.Bytes, c.Body) << c.Response;
        EXPECT_EQ(OutcomeCode(), c.Code) << c.Response;
        EXPECT_EQ(session.ReasonPhrase(), c.Reason) << c.Response;
    }
    // A limit of 0 (a signed empty file) allows no byte at all.
    ASSERT_TRUE(session.Begin("http://h/", 0));
    body.Bytes.clear();
    EXPECT_EQ(Feed("HTTP/1.0 200 OK\r\n\r\nx"), Action::Close);
    EXPECT_EQ(body.Bytes, "");
    EXPECT_EQ(OutcomeCode(), httperrBodyTooLong);
    // The limit is the request's own.
    ASSERT_TRUE(session.Begin("http://h/"));
    Feed("HTTP/1.0 200 OK\r\n\r\n" + std::string(100000, 'z'));
    EXPECT_EQ(OutcomeCode(), 0);
}

TEST(HttpBudget, FloorRateOf200BytesPerSecondPlusAMinuteAtMostAnHour) {
    EXPECT_EQ(RequestBudgetMs(0), 60000u);
    EXPECT_EQ(RequestBudgetMs(1), 60005u);
    EXPECT_EQ(RequestBudgetMs(300000), 1560000u);
    EXPECT_EQ(RequestBudgetMs(707999), 3599995u);
    EXPECT_EQ(RequestBudgetMs(708000), 3600000u);
    EXPECT_EQ(RequestBudgetMs(UINT64_MAX / 1000 + 1), 3600000u); // would wrap if multiplied first
}

TEST_F(HttpSessionTest, CredentialsGoOnlyWithTheirUrlAndItsHostAndPort) {
    const std::string authorization = "Authorization: Basic dXNlcjpwdw==\r\n";
    auto sendsThem = [&] { return session.Request().find(authorization) != std::string::npos; };
    ASSERT_TRUE(session.Begin("http://user:pw@h/"));
    EXPECT_TRUE(sendsThem());
    for (const char* target : {"/same", "http://H:80/same-host-and-port", "//h:080/again"}) {
        Feed(std::string("HTTP/1.1 302 Found\r\nLocation: ") + target + "\r\n\r\n");
        ASSERT_TRUE(session.Closed()) << target;
        EXPECT_TRUE(sendsThem()) << target;
    }
    Feed("HTTP/1.1 302 Found\r\nLocation: http://h:81/other-port\r\n\r\n");
    ASSERT_TRUE(session.Closed());
    EXPECT_FALSE(sendsThem());
    Feed("HTTP/1.1 302 Found\r\nLocation: http://h/back\r\n\r\n"); // dropped for good
    ASSERT_TRUE(session.Closed());
    EXPECT_EQ(session.Request().find("Authorization"), std::string::npos);

    ASSERT_TRUE(session.Begin("http://user:pw@h/"));
    Feed("HTTP/1.1 302 Found\r\nLocation: http://other/\r\n\r\n");
    ASSERT_TRUE(session.Closed());
    EXPECT_EQ(session.Request().find("Authorization"), std::string::npos);

    // A later request without them sends none.
    ASSERT_TRUE(session.Begin("http://user:pw@h/"));
    ASSERT_TRUE(session.Begin("http://h/"));
    EXPECT_EQ(session.Request().find("Authorization"), std::string::npos);
}

TEST_F(HttpSessionTest, MalformedStatusLineFails) {
    EXPECT_EQ(Feed("HTTP/1.1 OK\r\n"), Action::Close);
    EXPECT_EQ(OutcomeCode(), httperrBadResponse);
}

} // namespace
} // namespace vur::updater
