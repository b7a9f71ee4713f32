// Base64 encoding and the lenient decoding that hand-edited settings files meet.
#include "shared/base64.h"

#include "shared/errors.h"

#include <cstdint>

namespace vur {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Every byte's six bits, the lenient way: anything outside the alphabet counts as '/', as before.
struct SixBitTable {
    std::uint8_t bits[256];
    SixBitTable() {
        for (unsigned c = 0; c < 256; ++c) bits[c] = 63;
        for (unsigned i = 0; i < 64; ++i) bits[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
};

const SixBitTable& SixBits() {
    static const SixBitTable table;
    return table;
}

} // namespace

// Settings values are sealed and unsealed twice per read: these loops write into presized strings.
std::string Base64Encode(const std::string& bytes) {
    std::string out((bytes.size() + 2) / 3 * 4, '=');
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
    char* o = &out[0];
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3, o += 4) {
        const std::uint32_t v = (std::uint32_t(in[i]) << 16) | (std::uint32_t(in[i + 1]) << 8) | in[i + 2];
        o[0] = kAlphabet[(v >> 18) & 63];
        o[1] = kAlphabet[(v >> 12) & 63];
        o[2] = kAlphabet[(v >> 6) & 63];
        o[3] = kAlphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        const std::uint32_t v = (std::uint32_t(in[i]) << 16) | (rest == 2 ? std::uint32_t(in[i + 1]) << 8 : 0);
        o[0] = kAlphabet[(v >> 18) & 63];
        o[1] = kAlphabet[(v >> 12) & 63];
        if (rest == 2) o[2] = kAlphabet[(v >> 6) & 63]; // the rest stays '='
    }
    return out;
}

std::string Base64Decode(const std::string& text) {
    if (text.size() % 4 != 0) throw EBase64Error("Base64: Incorrect string format");
    if (text.empty()) return std::string();
    std::size_t length = text.size() / 4 * 3;
    if (text[text.size() - 2] == '=')
        length -= 2;
    else if (text[text.size() - 1] == '=')
        length -= 1;
    std::string out(text.size() / 4 * 3, '\0');
    const std::uint8_t* bits = SixBits().bits;
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    char* o = &out[0];
    for (std::size_t i = 0; i < text.size(); i += 4, o += 3) {
        const std::uint32_t v = (std::uint32_t(bits[in[i]]) << 18) | (std::uint32_t(bits[in[i + 1]]) << 12) |
                                (std::uint32_t(bits[in[i + 2]]) << 6) | bits[in[i + 3]];
        o[0] = static_cast<char>((v >> 16) & 0xFF);
        o[1] = static_cast<char>((v >> 8) & 0xFF);
        o[2] = static_cast<char>(v & 0xFF);
    }
    out.resize(length);
    return out;
}

} // namespace vur
