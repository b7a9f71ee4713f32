// libFuzzer entry: the input is a program file for the PE parser and the heuristic traits.
#include "engines/heuristic_verdict.h"
#include "engines/pe_image.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vur::engines::PeImage image;
    const bool pe = vur::engines::ParsePeImage(data, size, image);
    if (pe) {
        if (image.sections.size() > vur::engines::kMaxPeSections || image.imports.size() > vur::engines::kMaxImports)
            std::abort();
        for (const auto& s : image.sections)
            if (s.rawSize && uint64_t{s.rawOffset} + s.rawSize > size) std::abort();
        if (image.exportOffset + image.exportSize > size) std::abort();
    }
    if (vur::engines::Verdict(vur::engines::FindTraits(data, size, pe ? &image : nullptr)).size() > 255) std::abort();
    return 0;
}
