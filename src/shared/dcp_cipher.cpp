// Rijndael written from FIPS-197 (encryption with round tables, since CFB-8 spends one block per byte of
// every settings value; byte-oriented equivalent inverse cipher for decryption), with the feedback modes of
// NIST SP 800-38A that the sealing of settings values uses.
#include "shared/dcp_cipher.h"

#include "shared/aes_wide.h"
#include "shared/dcp_hash.h"
#include "shared/errors.h"

#include <cstring>
#include <vector>

namespace vur {

namespace {

std::uint8_t XTime(std::uint8_t x) { return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

std::uint8_t GfMul(std::uint8_t a, std::uint8_t b) {
    std::uint8_t r = 0;
    while (b) {
        if (b & 1) r ^= a;
        a = XTime(a);
        b >>= 1;
    }
    return r;
}

// The S-box and its inverse are derived once from the field inverse and the affine map of FIPS-197 5.1.1.
struct SBoxes {
    std::uint8_t fwd[256];
    std::uint8_t inv[256];
    SBoxes() {
        for (int x = 0; x < 256; ++x) {
            std::uint8_t inverse = 0;
            if (x != 0)
                for (int y = 1; y < 256; ++y)
                    if (GfMul(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) == 1) {
                        inverse = static_cast<std::uint8_t>(y);
                        break;
                    }
            std::uint8_t s = inverse;
            std::uint8_t r = inverse;
            for (int i = 0; i < 4; ++i) {
                r = static_cast<std::uint8_t>((r << 1) | (r >> 7));
                s ^= r;
            }
            s ^= 0x63;
            fwd[x] = s;
            inv[s] = static_cast<std::uint8_t>(x);
        }
    }
};

const SBoxes& Boxes() {
    static const SBoxes boxes;
    return boxes;
}

void AddRoundKey(std::uint8_t* s, const std::uint8_t* k) {
    for (int i = 0; i < 16; ++i) s[i] ^= k[i];
}

void SubBytes(std::uint8_t* s, const std::uint8_t* box) {
    for (int i = 0; i < 16; ++i) s[i] = box[s[i]];
}

// The state is kept column by column: byte 4*c + r is row r of column c.
void InvShiftRows(std::uint8_t* s) {
    std::uint8_t t[16];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) t[4 * ((c + r) % 4) + r] = s[4 * c + r];
    std::memcpy(s, t, 16);
}

// Products with the InvMixColumns coefficients 9, 11, 13 and 14; every key set-up needs 44 columns of them.
struct InvMixTables {
    std::uint8_t m9[256], m11[256], m13[256], m14[256];
    InvMixTables() {
        for (int x = 0; x < 256; ++x) {
            const auto b = static_cast<std::uint8_t>(x);
            m9[x] = GfMul(b, 9);
            m11[x] = GfMul(b, 11);
            m13[x] = GfMul(b, 13);
            m14[x] = GfMul(b, 14);
        }
    }
};

void InvMixColumns(std::uint8_t* s, int columns) {
    static const InvMixTables m;
    for (int c = 0; c < columns; ++c) {
        std::uint8_t* col = s + 4 * c;
        const std::uint8_t a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
        col[0] = static_cast<std::uint8_t>(m.m14[a0] ^ m.m11[a1] ^ m.m13[a2] ^ m.m9[a3]);
        col[1] = static_cast<std::uint8_t>(m.m9[a0] ^ m.m14[a1] ^ m.m11[a2] ^ m.m13[a3]);
        col[2] = static_cast<std::uint8_t>(m.m13[a0] ^ m.m9[a1] ^ m.m14[a2] ^ m.m11[a3]);
        col[3] = static_cast<std::uint8_t>(m.m11[a0] ^ m.m13[a1] ^ m.m9[a2] ^ m.m14[a3]);
    }
}

// SubBytes and MixColumns of one byte in each row, as a column word (row r in bits 8r..8r+7), FIPS-197 5.2.1.
struct RoundTables {
    std::uint32_t t[4][256];
    RoundTables() {
        const std::uint8_t* box = Boxes().fwd;
        for (int x = 0; x < 256; ++x) {
            const std::uint32_t s1 = box[x], s2 = XTime(box[x]), s3 = s2 ^ s1;
            t[0][x] = s2 | s1 << 8 | s1 << 16 | s3 << 24;
            t[1][x] = s3 | s2 << 8 | s1 << 16 | s1 << 24;
            t[2][x] = s1 | s3 << 8 | s2 << 16 | s1 << 24;
            t[3][x] = s1 | s1 << 8 | s3 << 16 | s2 << 24;
        }
    }
};

const RoundTables& Tables() {
    static const RoundTables tables;
    return tables;
}

std::uint32_t ColumnWord(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void XorBlock(std::uint8_t* dst, const std::uint8_t* a, const std::uint8_t* b) {
    for (int i = 0; i < 16; ++i) dst[i] = a[i] ^ b[i];
}

} // namespace

void TDCP_blockcipher::SetKeyFromPhrase(const std::string& phrase) {
    auto* hash = new TDCP_sha1;
    auto* digest = new std::uint8_t[TDCP_sha1::kDigestBytes];
    try {
        hash->Start();
        hash->Feed(phrase.data(), phrase.size());
        hash->Finish(digest);
        const int bits = MaxKeyBits() < hash->DigestBits() ? MaxKeyBits() : hash->DigestBits();
        SetKey(digest, bits, nullptr);
    } catch (...) {
        std::memset(digest, 0xFF, TDCP_sha1::kDigestBytes);
        delete[] digest;
        delete hash;
        throw;
    }
    std::memset(digest, 0xFF, TDCP_sha1::kDigestBytes);
    delete[] digest;
    delete hash;
}

void TDCP_rijndael::SetKey(const void* key, int bits, const void* iv) {
    if (keyed_) Wipe();
    if (bits > MaxKeyBits() || bits < 1 || bits % 8 != 0)
        throw ECipherError("Rijndael: Invalid key size - " + std::to_string(bits));

    std::uint8_t keyBytes[32] = {};
    const int keyLength = bits / 8;
    std::memcpy(keyBytes, key, static_cast<std::size_t>(keyLength));

    int keyWords;
    if (keyLength <= 16) {
        keyWords = 4;
        rounds_ = 10;
    } else if (keyLength <= 24) {
        keyWords = 6;
        rounds_ = 12;
    } else {
        keyWords = 8;
        rounds_ = 14;
    }

    // Key expansion of FIPS-197 5.2, word by word into the flat round-key table.
    const SBoxes& boxes = Boxes();
    const int totalWords = 4 * (rounds_ + 1);
    std::vector<std::uint8_t> w(static_cast<std::size_t>(totalWords) * 4);
    std::memcpy(w.data(), keyBytes, static_cast<std::size_t>(keyWords) * 4);
    std::uint8_t rcon = 1;
    for (int i = keyWords; i < totalWords; ++i) {
        std::uint8_t t[4];
        std::memcpy(t, &w[static_cast<std::size_t>(i - 1) * 4], 4);
        if (i % keyWords == 0) {
            const std::uint8_t first = t[0];
            t[0] = static_cast<std::uint8_t>(boxes.fwd[t[1]] ^ rcon);
            t[1] = boxes.fwd[t[2]];
            t[2] = boxes.fwd[t[3]];
            t[3] = boxes.fwd[first];
            rcon = XTime(rcon);
        } else if (keyWords > 6 && i % keyWords == 4) {
            for (auto& b : t) b = boxes.fwd[b];
        }
        for (int j = 0; j < 4; ++j)
            w[static_cast<std::size_t>(i) * 4 + j] = w[static_cast<std::size_t>(i - keyWords) * 4 + j] ^ t[j];
    }
    for (int r = 0; r <= rounds_; ++r) {
        std::memcpy(encKeys_[r], &w[static_cast<std::size_t>(r) * 16], 16);
        for (int c = 0; c < 4; ++c) encWords_[r][c] = ColumnWord(encKeys_[r] + 4 * c);
    }

    // Equivalent inverse cipher (FIPS-197 5.3.5): the round keys in reverse order, inner ones unmixed.
    for (int r = 0; r <= rounds_; ++r) std::memcpy(decKeys_[r], encKeys_[rounds_ - r], 16);
    for (int r = 1; r < rounds_; ++r) InvMixColumns(decKeys_[r], 4);

    std::memset(w.data(), 0, w.size());
    std::memset(keyBytes, 0, sizeof keyBytes);

    if (iv) {
        std::memcpy(iv_, iv, kBlockBytes);
    } else {
        std::memset(iv_, 0xFF, kBlockBytes);
        keyed_ = true; // EncryptBlock needs the fresh round keys
        EncryptBlock(iv_, iv_);
    }
    std::memcpy(chain_, iv_, kBlockBytes);
    keyed_ = true;
}

void TDCP_rijndael::Wipe() {
    std::memset(encKeys_, 0xFF, sizeof encKeys_);
    std::memset(encWords_, 0xFF, sizeof encWords_);
    std::memset(decKeys_, 0xFF, sizeof decKeys_);
    std::memset(iv_, 0xFF, sizeof iv_);
    std::memset(chain_, 0xFF, sizeof chain_);
    rounds_ = 0;
    keyed_ = false;
}

void TDCP_rijndael::RewindChain() {
    RequireKeyed();
    std::memcpy(chain_, iv_, kBlockBytes);
}

void TDCP_rijndael::RequireKeyed() const {
    if (!keyed_) throw ECipherError("Rijndael: Not initialized");
}

void TDCP_rijndael::EncryptBlock(const void* in, void* out) {
    RequireKeyed();
    EncryptKeyed(static_cast<const std::uint8_t*>(in), static_cast<std::uint8_t*>(out));
}

// ShiftRows takes row r of output column c from input column c + r.
void TDCP_rijndael::EncryptKeyed(const std::uint8_t* in, std::uint8_t* out) const {
    const auto& t = Tables().t;
    const std::uint8_t* box = Boxes().fwd;
    std::uint32_t w0 = ColumnWord(in) ^ encWords_[0][0], w1 = ColumnWord(in + 4) ^ encWords_[0][1],
                  w2 = ColumnWord(in + 8) ^ encWords_[0][2], w3 = ColumnWord(in + 12) ^ encWords_[0][3];
    for (int r = 1; r < rounds_; ++r) {
        const std::uint32_t* k = encWords_[r];
        const std::uint32_t n0 = t[0][w0 & 0xFF] ^ t[1][(w1 >> 8) & 0xFF] ^ t[2][(w2 >> 16) & 0xFF] ^ t[3][w3 >> 24] ^ k[0];
        const std::uint32_t n1 = t[0][w1 & 0xFF] ^ t[1][(w2 >> 8) & 0xFF] ^ t[2][(w3 >> 16) & 0xFF] ^ t[3][w0 >> 24] ^ k[1];
        const std::uint32_t n2 = t[0][w2 & 0xFF] ^ t[1][(w3 >> 8) & 0xFF] ^ t[2][(w0 >> 16) & 0xFF] ^ t[3][w1 >> 24] ^ k[2];
        const std::uint32_t n3 = t[0][w3 & 0xFF] ^ t[1][(w0 >> 8) & 0xFF] ^ t[2][(w1 >> 16) & 0xFF] ^ t[3][w2 >> 24] ^ k[3];
        w0 = n0;
        w1 = n1;
        w2 = n2;
        w3 = n3;
    }
    const std::uint32_t w[4] = {w0, w1, w2, w3};
    const std::uint8_t* last = encKeys_[rounds_];
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            out[4 * c + row] =
                static_cast<std::uint8_t>(box[(w[(c + row) & 3] >> (8 * row)) & 0xFF] ^ last[4 * c + row]);
}

void TDCP_rijndael::DecryptBlock(const void* in, void* out) {
    RequireKeyed();
    const std::uint8_t* box = Boxes().inv;
    std::uint8_t s[16];
    std::memcpy(s, in, 16);
    AddRoundKey(s, decKeys_[0]);
    for (int r = 1; r < rounds_; ++r) {
        SubBytes(s, box);
        InvShiftRows(s);
        InvMixColumns(s, 4);
        AddRoundKey(s, decKeys_[r]);
    }
    SubBytes(s, box);
    InvShiftRows(s);
    AddRoundKey(s, decKeys_[rounds_]);
    std::memcpy(out, s, 16);
}

// Whole blocks only; a trailing partial block is left as it is.
void TDCP_rijndael::EncryptCBC(const void* in, void* out, std::size_t length) {
    RequireKeyed();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    for (std::size_t i = 0; i + kBlockBytes <= length; i += kBlockBytes) {
        std::uint8_t block[16];
        XorBlock(block, src + i, chain_);
        EncryptBlock(block, dst + i);
        std::memcpy(chain_, dst + i, kBlockBytes);
    }
}

void TDCP_rijndael::DecryptCBC(const void* in, void* out, std::size_t length) {
    RequireKeyed();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    for (std::size_t i = 0; i + kBlockBytes <= length; i += kBlockBytes) {
        std::uint8_t cipherBlock[16];
        std::uint8_t plain[16];
        std::memcpy(cipherBlock, src + i, kBlockBytes);
        DecryptBlock(cipherBlock, plain);
        XorBlock(dst + i, plain, chain_);
        std::memcpy(chain_, cipherBlock, kBlockBytes);
    }
}

void TDCP_rijndael::EncryptFeedback8(const void* in, void* out, std::size_t length) {
    RequireKeyed();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    if (WideAesAvailable()) {
        Feedback8Wide(encKeys_, rounds_, chain_, src, dst, length, false);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        std::uint8_t t[16];
        EncryptKeyed(chain_, t);
        dst[i] = src[i] ^ t[0];
        std::memmove(chain_, chain_ + 1, kBlockBytes - 1);
        chain_[kBlockBytes - 1] = dst[i];
    }
}

void TDCP_rijndael::DecryptFeedback8(const void* in, void* out, std::size_t length) {
    RequireKeyed();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    if (WideAesAvailable()) {
        Feedback8Wide(encKeys_, rounds_, chain_, src, dst, length, true);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t c = src[i];
        std::uint8_t t[16];
        EncryptKeyed(chain_, t);
        dst[i] = c ^ t[0];
        std::memmove(chain_, chain_ + 1, kBlockBytes - 1);
        chain_[kBlockBytes - 1] = c;
    }
}

} // namespace vur
