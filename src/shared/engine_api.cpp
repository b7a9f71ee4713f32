// Length-prefixed engine results.
#include "shared/engine_api.h"

#include <cstring>

namespace vur {

std::string EngineResultText(const unsigned char* result) {
    return std::string(reinterpret_cast<const char*>(result + 1), result[0]);
}

void SetEngineResult(unsigned char* result, const std::string& text) {
    const std::size_t n = text.size() < 255 ? text.size() : 255;
    result[0] = static_cast<unsigned char>(n);
    std::memcpy(result + 1, text.data(), n);
}

} // namespace vur
