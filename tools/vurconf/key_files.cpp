// Reading and writing key files.
#include "key_files.h"

#include <array>
#include <cstdio>

#include "shared/errors.h"
#include "shared/file_reader.h"
#include "shared/hex_text.h"

namespace vurconf {

namespace {

void WriteNew(const std::string& path, const std::string& text) {
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    const bool written = stream && std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    if ((stream && std::fclose(stream) != 0) || !written) throw vur::EVurError("cannot write " + path);
}


} // namespace

void WriteKeyPair(const std::string& privatePath, const std::string& publicPath, const vur::ed25519::Seed& seed) {
    if (std::FILE* existing = std::fopen(privatePath.c_str(), "rb")) {
        std::fclose(existing);
        throw vur::EVurError(privatePath + " exists; a private key is never overwritten");
    }
    const vur::ed25519::PublicKey key = vur::ed25519::PublicKeyOf(seed);
    WriteNew(privatePath, vur::LowerHex(seed.data(), seed.size()) + "\n");
    WriteNew(publicPath, vur::LowerHex(key.data(), key.size()) + "\n");
}

namespace {

template <std::size_t N>
std::array<unsigned char, N> ReadKey(const std::string& path, const char* kind) {
    std::string text;
    if (!vur::ReadWholeFile(path, text)) throw vur::EVurError("cannot read " + path);
    const auto first = text.find_first_not_of(" \t\r\n");
    const auto last = text.find_last_not_of(" \t\r\n");
    const std::string hex = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    const std::string wrong = path + " is not a " + kind + " key file (64 hex digits)";
    std::array<unsigned char, N> key;
    if (hex.size() != 2 * key.size()) throw vur::EVurError(wrong);
    for (std::size_t i = 0; i < key.size(); ++i) {
        const int hi = vur::HexDigitValue(hex[2 * i]), lo = vur::HexDigitValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) throw vur::EVurError(wrong);
        key[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    return key;
}

} // namespace

vur::ed25519::Seed ReadPrivateKey(const std::string& path) { return ReadKey<32>(path, "private"); }

vur::ed25519::PublicKey ReadPublicKey(const std::string& path) { return ReadKey<32>(path, "public"); }

void CheckUpdateKey(const std::string& path, const vur::ed25519::PublicKey& key) {
    if (vur::ed25519::HasSmallOrder(key))
        throw vur::EVurError(path + " is a key of small order: anyone could sign updates for it");
    if (!vur::ed25519::IsPoint(key))
        throw vur::EVurError(path + " is not a point of the curve: no update signature would verify");
}

} // namespace vurconf
