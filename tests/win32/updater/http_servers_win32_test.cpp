// THttpCli under Wine against loopback servers the test wrapper starts: nginx and a hostile server of our own.
#include "http_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace vur::updater {
namespace {

struct HttpServers : ::testing::Test {
    std::string nginx = ServerAddress("VUR_HTTP_NGINX");
    std::string other = ServerAddress("VUR_HTTP_OTHER");
    std::string hostile = ServerAddress("VUR_HTTP_HOSTILE");
    std::unique_ptr<THttpCli> owned;
    TStringStream body;

    void SetUp() override {
        if (nginx.empty() || other.empty() || hostile.empty())
            GTEST_SKIP() << "no test servers (run through tests/e2e/test_http_client.py)";
        owned.reset(new THttpCli);
        owned->ReceiveStream = &body;
        owned->Timeout = 1500;
    }
    THttpCli& Client() { return *owned; }
    TGetOutcome Fetch(const std::string& url) {
        body.Bytes.clear();
        Client().URL = url;
        return GetOutcome(Client());
    }
};

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

TEST_F(HttpServers, FilesWithAndWithoutLengthAndEmpty) {
    TGetOutcome outcome = Fetch("http://" + nginx + "/pattern.bin");
    EXPECT_EQ(outcome.Code, 0) << outcome.Message;
    EXPECT_EQ(body.Bytes, Pattern(300000));
    EXPECT_EQ(Client().ReceivedBytes(), 300000u);
    EXPECT_EQ(Client().ContentLength(), 300000);
    EXPECT_EQ(Client().StatusCode(), 200);
    EXPECT_EQ(Client().ReasonPhrase(), "OK");
    EXPECT_EQ(Client().ContentType(), "application/octet-stream");

    outcome = Fetch("http://" + nginx + "/nolength/text.html");
    EXPECT_EQ(outcome.Code, 0) << outcome.Message;
    EXPECT_EQ(Client().ContentLength(), -1);
    EXPECT_EQ(body.Bytes, "Ohne L\xE4nge\n");
    EXPECT_EQ(Client().ContentType(), "text/html");

    outcome = Fetch("http://" + nginx + "/empty.dat");
    EXPECT_EQ(outcome.Code, 0) << outcome.Message;
    EXPECT_EQ(Client().ContentLength(), 0);
    EXPECT_EQ(body.Bytes, "");
    EXPECT_EQ(Client().State(), httpReady);
}

TEST_F(HttpServers, NotFoundRaisesWithTheServersReason) {
    TGetOutcome outcome = Fetch("http://" + nginx + "/fehlt.dat");
    EXPECT_EQ(outcome.Code, 404);
    EXPECT_EQ(outcome.Message, "Not Found");
}

TEST_F(HttpServers, RedirectToAnotherLoopbackHostOnPort80) {
    TGetOutcome outcome = Fetch("http://" + nginx + "/moved");
    EXPECT_EQ(outcome.Code, 0) << outcome.Message;
    // The server on port 80 echoes the Host line and the path it got; the 302 body is not in the stream.
    EXPECT_EQ(body.Bytes, "host=" + other + " uri=/target.bin\n");
    EXPECT_EQ(Client().Hostname(), other);
    EXPECT_EQ(Client().Port(), "80");
    EXPECT_EQ(Client().Path(), "/target.bin");
}

TEST_F(HttpServers, HostileServersAllEnd) {
    struct TCase {
        const char* Path;
        int Code;
        std::string Body;
    };
    const std::vector<TCase> cases = {
        {"/silent", 7, ""},                        // never answers: time-out
        {"/open-length", 0, "hello"},              // complete body, never closes: success after the time-out
        {"/open-nolength", 7, "hello"},            // body of unknown length, never closes: time-out
        {"/trickle", 0, "abcd"},                   // a byte a second beats the time-out
        {"/early-body", 8, "abc"},                 // closes after 3 of 100 bytes
        {"/early-header", 8, ""},                  // closes inside the header
        {"/nothing", 8, ""},                       // closes without a byte
        {"/loop", 6, ""},                          // endless relocations
        {"/https", 5, ""},                         // relocation the client cannot follow
        {"/long-line", 4, ""},                     // header line over the limit
        {"/reset-status", 404, "x"},               // error status, body cut off at once
    };
    for (const TCase& c : cases) {
        TGetOutcome outcome = Fetch("http://" + hostile + c.Path);
        EXPECT_EQ(outcome.Code, c.Code) << c.Path << ": " << outcome.Message;
        EXPECT_EQ(body.Bytes, c.Body) << c.Path;
        EXPECT_LT(outcome.Milliseconds, 8000u) << c.Path;
        EXPECT_EQ(Client().State(), httpReady) << c.Path;
    }
}

TEST_F(HttpServers, BudgetAndBodyLimitEndRequestsEarly) {
    // A byte a second keeps the 1.5 s idle time-out away but not the budget.
    Client().Budget = 3000;
    TGetOutcome outcome = Fetch("http://" + hostile + "/drip/30");
    EXPECT_EQ(outcome.Code, httperrTimeout) << outcome.Message;
    EXPECT_EQ(outcome.Message, "request not finished within its budget of 3 s");
    EXPECT_GE(outcome.Milliseconds, 2900u);
    EXPECT_LT(outcome.Milliseconds, 6000u);
    EXPECT_FALSE(body.Bytes.empty());

    Client().Budget = 0;
    Client().BodyLimit = 1000;
    outcome = Fetch("http://" + nginx + "/pattern.bin");
    EXPECT_EQ(outcome.Code, httperrBodyTooLong) << outcome.Message;
    EXPECT_EQ(body.Bytes, "");
    Client().BodyLimit = 3;
    outcome = Fetch("http://" + hostile + "/open-nolength");
    EXPECT_EQ(outcome.Code, httperrBodyTooLong) << outcome.Message;
    EXPECT_EQ(body.Bytes, "hel");
    EXPECT_LT(outcome.Milliseconds, 1000u);
    EXPECT_EQ(Client().State(), httpReady);
}

// What a window timer sees while Get waits: the updater's progress timer reads ReceivedBytes this way.
THttpCli* Watched = nullptr;
std::vector<std::uint32_t> Seen;
int SecondGetCode = 0;
void CALLBACK Progress(HWND, UINT, UINT_PTR, DWORD) {
    Seen.push_back(Watched->ReceivedBytes());
    if (Seen.size() == 1) {
        try {
            Watched->Get();
        } catch (const EHttpException& e) {
            SecondGetCode = e.ErrorCode();
        }
    }
}

TEST_F(HttpServers, TimersRunAndSeeProgressWhileGetWaits) {
    Watched = &Client();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, Progress);
    TGetOutcome outcome = Fetch("http://" + hostile + "/trickle");
    KillTimer(nullptr, timer);
    EXPECT_EQ(outcome.Code, 0) << outcome.Message;
    EXPECT_EQ(SecondGetCode, httperrBusy);
    ASSERT_GE(Seen.size(), 20u);
    bool between = false;
    for (size_t i = 1; i < Seen.size(); ++i) {
        EXPECT_GE(Seen[i], Seen[i - 1]);
        between = between || (Seen[i] > 0 && Seen[i] < 4);
    }
    EXPECT_TRUE(between);
}

TEST_F(HttpServers, IdleWaitCostsNoProcessorTime) {
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore);
    TGetOutcome outcome = Fetch("http://" + hostile + "/silent");
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter);
    EXPECT_EQ(outcome.Code, httperrTimeout);
    auto ticks = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    unsigned long long used = ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
    // Wine counts process times from the host's: a spinning wait would use about 15000000 units here.
    std::printf("processor time of a 1.5 s wait: %llu us\n", used / 10);
    EXPECT_GT(outcome.Milliseconds, 1000u);
    EXPECT_LT(used, 3000000ull) << "100 ns units for a 1.5 s wait";
}

} // namespace
} // namespace vur::updater
