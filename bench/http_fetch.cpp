// Fetches one URL with THttpCli, counting the body, and prints its size, wall time and processor time.
#include "updater/HttpProt.h"

#include <cstdio>

#include "process_time.h"
#include <cstdlib>

namespace {

class TCountingStream : public vur::updater::OutputStream {
public:
    void Write(const char*, size_t size) override { Bytes += size; }
    unsigned long long Bytes = 0;
};


} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vur_http_fetch URL [timeout ms]\n");
        return 2;
    }
    try {
        vur::updater::THttpCli client;
        TCountingStream body;
        client.URL = argv[1];
        if (argc > 2)
            client.Timeout = std::strtoul(argv[2], nullptr, 10);
        client.ReceiveStream = &body;
        unsigned long long cpuBefore = ProcessorMicroseconds();
        DWORD start = GetTickCount();
        int code = 0;
        try {
            client.Get();
        } catch (const vur::updater::EHttpException& e) {
            code = e.ErrorCode();
            std::fprintf(stderr, "EHttpException %d: %s\n", code, e.what());
        }
        DWORD wall = GetTickCount() - start;
        std::printf("bytes %llu wall_ms %lu cpu_us %llu code %d\n", body.Bytes, wall,
                    ProcessorMicroseconds() - cpuBefore, code);
        return code == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}
