// Base64 encoding and the lenient decoding that hand-edited settings files meet.
#include "base64.h"

#include "errors.h"

#include <cstdint>

namespace vur {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

unsigned SixBits(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0' + 52);
    if (c == '+') return 62;
    return 63;
}

} // namespace

std::string Base64Encode(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v = (std::uint32_t(std::uint8_t(bytes[i])) << 16) |
                                (std::uint32_t(std::uint8_t(bytes[i + 1])) << 8) | std::uint8_t(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest == 1) {
        const std::uint32_t v = std::uint32_t(std::uint8_t(bytes[i])) << 16;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (rest == 2) {
        const std::uint32_t v = (std::uint32_t(std::uint8_t(bytes[i])) << 16) |
                                (std::uint32_t(std::uint8_t(bytes[i + 1])) << 8);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::string Base64Decode(const std::string& text) {
    if (text.size() % 4 != 0) throw EBase64Error("Base64: Incorrect string format");
    std::string out;
    if (text.empty()) return out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const std::uint32_t v = (SixBits(text[i]) << 18) | (SixBits(text[i + 1]) << 12) |
                                (SixBits(text[i + 2]) << 6) | SixBits(text[i + 3]);
        const bool last = i + 4 == text.size();
        int produce = 3;
        if (last && text[i + 2] == '=')
            produce = 1;
        else if (last && text[i + 3] == '=')
            produce = 2;
        out += static_cast<char>((v >> 16) & 0xFF);
        if (produce >= 2) out += static_cast<char>((v >> 8) & 0xFF);
        if (produce == 3) out += static_cast<char>(v & 0xFF);
    }
    return out;
}

} // namespace vur
