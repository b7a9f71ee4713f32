// A body stream for the download client's tests that keeps every byte written.
#pragma once

#include "updater/http_session.h"

#include <string>

namespace vur::updater {

class TStringStream : public OutputStream {
public:
    void Write(const char* data, size_t size) override { Bytes.append(data, size); }
    std::string Bytes;
};

} // namespace vur::updater
