// libFuzzer entry: the input is a settings file's text. Whatever it holds, writing the parsed document and
// parsing that again must give the same document, every listed key must be found, and a value set must read
// back as set.
#include "shared/ini_document.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (vur::NameMatching matching : {vur::NameMatching::IgnoreCase, vur::NameMatching::Exact}) {
        vur::IniDocument document = vur::IniDocument::Parse(text, matching);
        const std::string written = document.Serialize();
        if (vur::IniDocument::Parse(written, matching).Serialize() != written) std::abort();
        for (const std::string& section : document.SectionNames())
            for (const std::string& key : document.KeyNames(section)) {
                std::string value;
                if (!document.Find(section, key, value)) std::abort();
            }
        document.Set("Generell", "AutoStart", "1");
        std::string value;
        if (!document.Find("Generell", "AutoStart", value) || value != "1") std::abort();
        document.EraseSection("Generell");
        if (document.Find("Generell", "AutoStart", value)) std::abort();
    }
    return 0;
}
