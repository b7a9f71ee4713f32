// THttpCli under Wine without test servers: look-up failures, unusable URLs, refused connections.
#include "http_test_support.h"

#include <gtest/gtest.h>

namespace vur::updater {
namespace {

TEST(HttpCliWin32, UnresolvableHostRaises404) {
    THttpCli client;
    // An empty label fails inside the resolver without a query, so the result does not depend on DNS.
    client.URL = "http://no..such..host/updates.dat";
    TGetOutcome outcome = GetOutcome(client);
    EXPECT_EQ(outcome.Code, 404);
    EXPECT_EQ(outcome.Message, "can't resolve hostname to IP address");
    EXPECT_EQ(client.StatusCode(), 404);
    EXPECT_EQ(client.State(), httpReady);
    EXPECT_LT(outcome.Milliseconds, 10000u);
}

TEST(HttpCliWin32, UnusableUrlsEndAtOnce) {
    THttpCli client;
    client.URL = "http:///updates.dat";
    EXPECT_EQ(GetOutcome(client).Code, 404);
    client.URL = "https://127.0.0.1/";
    EXPECT_EQ(GetOutcome(client).Code, httperrBadUrl);
    client.URL = "http://127.0.0.1/";
    client.Proxy = "proxy";
    EXPECT_EQ(GetOutcome(client).Code, httperrBadUrl);
}

TEST(HttpCliWin32, RefusedConnectionGivesTheSocketError) {
    // Port 9 (discard) on a loopback address nobody uses here: refused at once.
    THttpCli client;
    client.URL = "http://127.0.0.1:9/";
    TGetOutcome outcome = GetOutcome(client);
    EXPECT_EQ(outcome.Code, 404);
    EXPECT_EQ(outcome.Message, "Connection refused (Error #10061)");
    EXPECT_EQ(client.ReasonPhrase(), outcome.Message);
}

} // namespace
} // namespace vur::updater
