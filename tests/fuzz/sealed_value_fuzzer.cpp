// libFuzzer entry: the input is a token as a settings file holds it. Unsealing may refuse it only with the
// suite's own error, and any text sealed unseals to itself.
#include "shared/base64.h"
#include "shared/errors.h"
#include "shared/sealing.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string phrase = "Prüfsatz";
    try {
        vur::UnsealString(phrase, input);
        vur::Base64Decode(input);
    } catch (const vur::EBase64Error&) {
    }
    if (vur::Base64Decode(vur::Base64Encode(input)) != input) std::abort();
    if (vur::UnsealString(phrase, vur::SealString(phrase, input)) != input) std::abort();
    return 0;
}
