// CP1252 lower-casing: ASCII capitals, 0xC0-0xDE without the multiplication sign, and Š, Œ, Ž, Ÿ.
#include "shared/text_case.h"

namespace vur {

std::string LowerCp1252(std::string text) {
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E)
            c = static_cast<char>(b + 0x10);
        else if (b == 0x9F)
            c = static_cast<char>(0xFF);
    }
    return text;
}

} // namespace vur
