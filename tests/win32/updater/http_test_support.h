// Helpers of the download client's Wine tests: a body stream, the outcome of Get, the servers' addresses.
#pragma once

#include "../../unit/updater/http_stream.h"
#include "updater/HttpProt.h"

#include <cstdlib>
#include <string>

namespace vur::updater {

struct TGetOutcome {
    int Code = 0; // 0: Get returned
    std::string Message;
    DWORD Milliseconds = 0;
};

inline TGetOutcome GetOutcome(THttpCli& client) {
    TGetOutcome outcome;
    DWORD start = GetTickCount();
    try {
        client.Get();
    } catch (const EHttpException& e) {
        outcome.Code = e.ErrorCode();
        outcome.Message = e.what();
    }
    outcome.Milliseconds = GetTickCount() - start;
    return outcome;
}

// "host:port" of a test server started by the test wrapper, empty when these tests run without servers.
inline std::string ServerAddress(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? value : "";
}

} // namespace vur::updater
