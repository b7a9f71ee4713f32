// The CP1252 code page: Latin-1 with the printable characters Windows puts in 0x80 to 0x9F.
#include "cp1252.h"

#include <cstdint>

namespace vurconf {

namespace {

// Code points of 0x80..0x9F; the undefined bytes keep their own value.
const std::uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool EncodeCodePoint(std::uint32_t cp, std::string& out) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        out += static_cast<char>(cp);
        return true;
    }
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp) {
            out += static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

} // namespace

bool Utf8ToCp1252(const std::string& utf8, std::string& cp1252) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        int extra;
        std::uint32_t cp;
        if (lead < 0x80) {
            extra = 0;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= utf8.size()) return false; // sequence cut short
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        static const std::uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[extra]) return false; // overlong form
        if (!EncodeCodePoint(cp, out)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    cp1252 = out;
    return true;
}

std::string Cp1252ToUtf8(const std::string& cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b >= 0x80 && b < 0xA0)
            AppendUtf8(out, kHigh[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

} // namespace vurconf
