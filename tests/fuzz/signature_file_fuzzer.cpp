// libFuzzer entry: the input is a signature file; what loads is then matched against the input itself,
// which no loaded pattern may find.
#include "engines/signature_file.h"
#include "engines/signature_matcher.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    const vur::engines::SignatureFile file = vur::engines::ParseSignatureFile(content);
    for (const auto& p : file.patterns)
        if (p.name.empty() || p.name.size() > vur::engines::kMaxSignatureName) std::abort();
    vur::engines::SignatureMatcher matcher(file.patterns);
    if (matcher.FindInBuffer(data, size) >= 0) std::abort();
    return 0;
}
