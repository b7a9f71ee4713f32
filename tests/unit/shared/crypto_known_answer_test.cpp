// Known-answer vectors from FIPS 180-1, FIPS-197 and SP 800-38A, and the cipher component's own contract.
#include "shared/aes_wide.h"
#include "shared/dcp_cipher.h"
#include "shared/dcp_hash.h"
#include "shared/errors.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

using vurtest::FromHex;
using vurtest::ToHex;

namespace {

std::string Sha1Hex(const std::string& message) {
    vur::TDCP_sha1 hash;
    hash.Start();
    hash.Feed(message.data(), message.size());
    std::uint8_t digest[20];
    hash.Finish(digest);
    return ToHex(std::string(reinterpret_cast<char*>(digest), 20));
}

} // namespace

TEST(Sha1, Fips180Vectors) {
    EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(Sha1Hex(std::string(1000000, 'a')), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
    EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(Sha1, FeedingInPiecesAcrossBlockBoundariesGivesTheSameDigest) {
    const std::string message(200, 'x');
    for (std::size_t split : {1u, 55u, 56u, 63u, 64u, 65u, 119u}) {
        vur::TDCP_sha1 hash;
        hash.Start();
        hash.Feed(message.data(), split);
        hash.Feed(message.data() + split, message.size() - split);
        std::uint8_t digest[20];
        hash.Finish(digest);
        EXPECT_EQ(ToHex(std::string(reinterpret_cast<char*>(digest), 20)), Sha1Hex(message)) << split;
    }
}

TEST(Sha1, UnstartedHashRefusesWorkAndFinishWipes) {
    vur::TDCP_sha1 hash;
    EXPECT_EQ(hash.AlgorithmName(), "SHA1");
    EXPECT_EQ(hash.DigestBits(), 160);
    std::uint8_t digest[20];
    EXPECT_THROW(
        try { hash.Feed("a", 1); } catch (const vur::EHashError& e) {
            EXPECT_STREQ(e.what(), "SHA1: Not initialized");
            throw;
        },
        vur::EHashError);
    EXPECT_THROW(hash.Finish(digest), vur::EHashError);
    hash.Start();
    hash.Finish(digest);
    EXPECT_FALSE(hash.Started());
    EXPECT_THROW(hash.Finish(digest), vur::EHashError);
}

TEST(Rijndael, Fips197Aes192EncryptsAndDecryptsTheAppendixVector) {
    vur::TDCP_rijndael cipher;
    const std::string key = FromHex("000102030405060708090a0b0c0d0e0f1011121314151617");
    cipher.SetKey(key.data(), 192, nullptr);
    EXPECT_EQ(cipher.Rounds(), 12);
    const std::string plain = FromHex("00112233445566778899aabbccddeeff");
    char out[16];
    cipher.EncryptBlock(plain.data(), out);
    EXPECT_EQ(ToHex(std::string(out, 16)), "dda97ca4864cdfe06eaf70a0ec0d7191");
    char back[16];
    cipher.DecryptBlock(out, back);
    EXPECT_EQ(std::string(back, 16), plain);
}

TEST(Rijndael, Fips197Aes128AndAes256AppendixVectors) {
    const std::string plain = FromHex("00112233445566778899aabbccddeeff");
    struct Case {
        const char* key;
        int rounds;
        const char* cipherText;
    } cases[] = {
        {"000102030405060708090a0b0c0d0e0f", 10, "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", 14,
         "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const auto& c : cases) {
        vur::TDCP_rijndael cipher;
        const std::string key = FromHex(c.key);
        cipher.SetKey(key.data(), static_cast<int>(key.size() * 8), nullptr);
        EXPECT_EQ(cipher.Rounds(), c.rounds);
        char out[16], back[16];
        cipher.EncryptBlock(plain.data(), out);
        EXPECT_EQ(ToHex(std::string(out, 16)), c.cipherText);
        cipher.DecryptBlock(out, back);
        EXPECT_EQ(std::string(back, 16), plain);
    }
}

TEST(Rijndael, Sp80038aCfb8Aes192BothWaysAndInPlace) {
    const std::string key = FromHex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b");
    const std::string iv = FromHex("000102030405060708090a0b0c0d0e0f");
    const std::string plain = FromHex("6bc1bee22e409f96e93d7e117393172aae2d");
    const std::string expected = "cda2521ef0a905ca44cd057cbf0d47a0678a";

    vur::TDCP_rijndael cipher;
    cipher.SetKey(key.data(), 192, iv.data());
    std::string buffer = plain;
    cipher.EncryptFeedback8(buffer.data(), buffer.data(), buffer.size());
    EXPECT_EQ(ToHex(buffer), expected);

    cipher.RewindChain();
    cipher.DecryptFeedback8(buffer.data(), buffer.data(), buffer.size());
    EXPECT_EQ(buffer, plain);
}

// CFB-8 built from single blocks, which stay on the table routine: the reference for the processor's rounds.
TEST(Rijndael, Cfb8WithTheProcessorsRoundsMatchesBlockByBlockForEveryKeySize) {
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24); };
    for (int bits : {128, 160, 192, 256}) {
        std::string key(32, 0), iv(16, 0), plain(300, 0);
        for (char& c : key) c = next();
        for (char& c : iv) c = next();
        for (char& c : plain) c = next();
        vur::TDCP_rijndael cipher;
        cipher.SetKey(key.data(), bits, iv.data());
        std::string expected = plain;
        std::uint8_t shift[16];
        std::memcpy(shift, iv.data(), 16);
        for (char& c : expected) {
            std::uint8_t pad[16];
            cipher.EncryptBlock(shift, pad);
            c = static_cast<char>(c ^ pad[0]);
            std::memmove(shift, shift + 1, 15);
            shift[15] = static_cast<std::uint8_t>(c);
        }
        for (std::size_t split : {std::size_t{0}, std::size_t{1}, std::size_t{17}, std::size_t{299}}) {
            std::string buffer = plain; // in place, in two calls that carry the chain on
            cipher.RewindChain();
            cipher.EncryptFeedback8(buffer.data(), buffer.data(), split);
            cipher.EncryptFeedback8(buffer.data() + split, buffer.data() + split, buffer.size() - split);
            EXPECT_EQ(ToHex(buffer), ToHex(expected)) << bits << " bits, split at " << split;
            cipher.RewindChain();
            cipher.DecryptFeedback8(buffer.data(), buffer.data(), split);
            cipher.DecryptFeedback8(buffer.data() + split, buffer.data() + split, buffer.size() - split);
            EXPECT_EQ(buffer, plain) << bits << " bits, split at " << split;
        }
    }
    if (!vur::WideAesAvailable()) GTEST_SKIP() << "no AES round instructions here: only the table routine was run";
}

TEST(Rijndael, Sp80038aCbcAes192Vector) {
    const std::string key = FromHex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b");
    const std::string iv = FromHex("000102030405060708090a0b0c0d0e0f");
    const std::string plain = FromHex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
    vur::TDCP_rijndael cipher;
    cipher.SetKey(key.data(), 192, iv.data());
    std::string buffer = plain;
    cipher.EncryptCBC(buffer.data(), buffer.data(), buffer.size());
    EXPECT_EQ(ToHex(buffer), "4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a");
    cipher.RewindChain();
    cipher.DecryptCBC(buffer.data(), buffer.data(), buffer.size());
    EXPECT_EQ(buffer, plain);
}

TEST(Rijndael, WithoutIvTheIvIsTheEncryptionOfSixteenFfBytes) {
    const std::string key = FromHex("000102030405060708090a0b0c0d0e0f1011121314151617");
    vur::TDCP_rijndael cipher;
    cipher.SetKey(key.data(), 192, nullptr);
    const std::string ones(16, '\xFF');
    char expected[16];
    cipher.EncryptBlock(ones.data(), expected);
    EXPECT_EQ(std::memcmp(cipher.Iv(), expected, 16), 0);
}

TEST(Rijndael, KeySizeAndKeyedStateAreGuarded) {
    vur::TDCP_rijndael cipher;
    EXPECT_EQ(cipher.AlgorithmName(), "Rijndael");
    const char key[40] = {};
    for (int bits : {0, -8, 7, 100, 264}) {
        try {
            cipher.SetKey(key, bits, nullptr);
            ADD_FAILURE() << bits;
        } catch (const vur::ECipherError& e) {
            EXPECT_EQ(std::string(e.what()), "Rijndael: Invalid key size - " + std::to_string(bits));
        }
    }
    char block[16] = {};
    try {
        cipher.EncryptFeedback8(block, block, 16);
        ADD_FAILURE();
    } catch (const vur::ECipherError& e) {
        EXPECT_STREQ(e.what(), "Rijndael: Not initialized");
    }
    EXPECT_THROW(cipher.DecryptFeedback8(block, block, 16), vur::ECipherError);

    cipher.SetKey(key, 160, nullptr);
    EXPECT_TRUE(cipher.Keyed());
    EXPECT_EQ(cipher.Rounds(), 12);
    cipher.Wipe();
    EXPECT_FALSE(cipher.Keyed());
    EXPECT_EQ(cipher.Rounds(), 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(cipher.Iv()[i], 0xFF);
}

TEST(Rijndael, SetKeyFromPhraseUsesTheSha1DigestPaddedToAes192) {
    vur::TDCP_rijndael fromPhrase, direct;
    fromPhrase.SetKeyFromPhrase("");
    const std::string digest = FromHex("da39a3ee5e6b4b0d3255bfef95601890afd80709");
    const std::string padded = digest + std::string(4, '\0');
    direct.SetKey(padded.data(), 192, nullptr);
    EXPECT_EQ(std::memcmp(fromPhrase.Iv(), direct.Iv(), 16), 0);
    EXPECT_EQ(fromPhrase.Rounds(), 12);
}
