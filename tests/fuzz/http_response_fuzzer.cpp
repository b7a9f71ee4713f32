// libFuzzer entry: the first byte splits the input into pieces; the rest is a server's answer.
#include "updater/http_parse.h"
#include "updater/http_session.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class TCountingStream : public vur::updater::OutputStream {
public:
    void Write(const char*, size_t size) override { Bytes += size; }
    size_t Bytes = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t piece = 1 + data[0] % 64;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    size -= 1;
    vur::updater::HttpSession session;
    TCountingStream body;
    session.Begin("http://127.0.0.1:8080/d/f?q");
    for (size_t pos = 0; pos < size; pos += piece) {
        size_t n = size - pos < piece ? size - pos : piece;
        if (session.Receive(bytes + pos, n, &body) == vur::updater::HttpSession::Action::Close)
            break;
    }
    if (session.ReceivedBytes() != body.Bytes)
        std::abort();
    if (session.Closed()) {
        std::string request = session.Request();
        if (session.Path().empty() || session.Path()[0] != '/' || !vur::updater::IsPlainHostName(session.Host()) ||
            request.find("\r\n\r\n") != request.size() - 4)
            std::abort();
    }
    try {
        session.CheckOutcome();
    } catch (const vur::updater::EHttpException&) {
    }
    return 0;
}
