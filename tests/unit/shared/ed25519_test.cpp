// SHA-512 against FIPS 180-4's examples and OpenSSL at the padding boundaries; Ed25519 against RFC 8032's
// test vectors and against OpenSSL's signatures of random messages; what must fail does.
#include "shared/ed25519.h"
#include "shared/scalar25519.h"
#include "shared/sha512.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

using vurtest::FromHex;
using vurtest::ToHex;
namespace ed = vur::ed25519;

namespace {

template <std::size_t N>
std::array<unsigned char, N> Bytes(const std::string& hex) {
    const std::string raw = FromHex(hex);
    std::array<unsigned char, N> a{};
    EXPECT_EQ(raw.size(), N);
    std::memcpy(a.data(), raw.data(), std::min(raw.size(), N));
    return a;
}

template <std::size_t N>
std::string Hex(const std::array<unsigned char, N>& a) {
    return ToHex(std::string(reinterpret_cast<const char*>(a.data()), N));
}

// Runs a shell command in `dir`; true when it exits with 0.
bool Shell(const vurtest::TempDir& dir, const std::string& command) {
    return std::system(("cd '" + dir.Path() + "' && ( " + command + " ) >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TEST(Sha512, Fips180ExamplesAndOpenSslAtThePaddingBoundaries) {
    EXPECT_EQ(ToHex(vur::Sha512Digest("abc")),
              "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
              "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
    EXPECT_EQ(ToHex(vur::Sha512Digest("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
                                      "klmnopqrlmnopqrsmnopqrstnopqrstu")),
              "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
              "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909");
    EXPECT_EQ(ToHex(vur::Sha512Digest(std::string(1000000, 'a'))),
              "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
              "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b");
    EXPECT_EQ(ToHex(vur::Sha512Digest("")).substr(0, 16), "cf83e1357eefb8bd");

    // Lengths where the padding takes one block or spills into a second, fed whole and in uneven pieces.
    vurtest::TempDir dir;
    std::mt19937 rng(7);
    for (std::size_t length : {111u, 112u, 127u, 128u, 129u, 239u, 240u, 1000u}) {
        std::string message(length, '\0');
        for (char& c : message) c = static_cast<char>(rng());
        dir.Write("m", message);
        ASSERT_TRUE(Shell(dir, "openssl dgst -sha512 -binary m > d")) << "openssl is needed for this test";
        EXPECT_EQ(ToHex(vur::Sha512Digest(message)), ToHex(dir.Read("d"))) << length;
        vur::Sha512 pieces;
        for (std::size_t at = 0, step = 1; at < length; at += step, step = step * 3 % 131 + 1)
            pieces.Update(message.data() + at, std::min(step, length - at));
        unsigned char digest[64];
        pieces.Final(digest);
        EXPECT_EQ(ToHex(std::string(reinterpret_cast<char*>(digest), 64)), ToHex(dir.Read("d"))) << length;
    }
}

TEST(Ed25519, Rfc8032Vectors) {
    struct Vector {
        const char *seed, *key, *message, *signature;
    };
    const Vector vectors[] = {
        {"9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60",
         "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a", "",
         "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e06522490155"
         "5fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b"},
        {"4ccd089b28ff96da9db6c346ec114e0f5b8a319f35aba624da8cf6ed4fb8a6fb",
         "3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c", "72",
         "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da"
         "085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302aeeb00d291612bb0c00"},
        {"c5aa8df43f9f837bedb7442f31dcb7b166d38535076f094b85ce3a2e0b4458f7",
         "fc51cd8e6218a1a38da47ed00230f0580816ed13ba3303ac5deb911548908025", "af82",
         "6291d657deec24024827e69c3abe01a30ce548a284743a445e3680d7db5ac3ac"
         "18ff9b538d16f290ae67f760984dc6594a7c15e9716ed28dc027beceea1ec40a"},
    };
    for (const Vector& v : vectors) {
        const auto seed = Bytes<32>(v.seed);
        const std::string message = FromHex(v.message);
        EXPECT_EQ(Hex(ed::PublicKeyOf(seed)), v.key);
        EXPECT_EQ(Hex(ed::Sign(seed, message)), v.signature);
        EXPECT_TRUE(ed::Verify(Bytes<32>(v.key), message, Bytes<64>(v.signature))) << v.message;
    }
}

// One flow over random keys and messages: OpenSSL's key pair and signature taken as they are, ours equal to
// them (Ed25519 is deterministic), streamed verification equal to one call, and every change refused.
TEST(Ed25519, OpenSslSignaturesVerifyAndEveryChangeFails) {
    vurtest::TempDir dir;
    ASSERT_TRUE(Shell(dir, "openssl version")) << "openssl is needed for this test";
    std::mt19937 rng(2026);
    ed::PublicKey previousKey{};
    for (int round = 0; round < 6; ++round) {
        ASSERT_TRUE(Shell(dir, "openssl genpkey -algorithm ed25519 -outform DER -out key.der && "
                               "openssl pkey -inform DER -in key.der -pubout -outform DER -out pub.der"));
        // The DER forms end with the raw 32-byte seed and public key.
        const std::string privateDer = dir.Read("key.der"), publicDer = dir.Read("pub.der");
        ASSERT_GE(privateDer.size(), 32u);
        ASSERT_GE(publicDer.size(), 32u);
        ed::Seed seed;
        ed::PublicKey key;
        std::memcpy(seed.data(), privateDer.data() + privateDer.size() - 32, 32);
        std::memcpy(key.data(), publicDer.data() + publicDer.size() - 32, 32);
        EXPECT_EQ(Hex(ed::PublicKeyOf(seed)), Hex(key));

        std::string message(1 + rng() % 3000, '\0'); // openssl cannot sign an empty file: RFC test 1 covers it
        for (char& c : message) c = static_cast<char>(rng());
        dir.Write("m", message);
        ASSERT_TRUE(Shell(dir, "openssl pkeyutl -sign -rawin -inkey key.der -keyform DER -in m -out sig"));
        const std::string raw = dir.Read("sig");
        ASSERT_EQ(raw.size(), 64u);
        ed::Signature signature;
        std::memcpy(signature.data(), raw.data(), 64);

        EXPECT_TRUE(ed::Verify(key, message, signature)) << "round " << round;
        EXPECT_EQ(Hex(ed::Sign(seed, message)), Hex(signature)) << "round " << round;
        ed::Verifier streamed(key, signature);
        for (std::size_t at = 0; at < message.size(); at += 700)
            streamed.Update(message.data() + at, std::min<std::size_t>(700, message.size() - at));
        EXPECT_TRUE(streamed.Finish());

        std::string flipped = message;
        flipped[rng() % flipped.size()] ^= static_cast<char>(1 << (rng() % 8));
        EXPECT_FALSE(ed::Verify(key, flipped, signature)) << "a flipped message bit";
        for (std::size_t bit : {0u, 255u, 256u, 300u, 511u}) {
            ed::Signature bad = signature;
            bad[bit / 8] ^= static_cast<unsigned char>(1 << (bit % 8));
            EXPECT_FALSE(ed::Verify(key, message, bad)) << "signature bit " << bit;
        }
        EXPECT_FALSE(ed::Verify(key, message + "x", signature)) << "a longer message";
        if (round > 0) {
            EXPECT_FALSE(ed::Verify(previousKey, message, signature)) << "another key";
        }
        previousKey = key;
    }
}

// S + L is the same number modulo L but not the canonical S: RFC 8032 refuses it, and a public key that is
// not a point on the curve is refused as well.
TEST(Ed25519, NonCanonicalScalarAndNonPointKeyAreRefused) {
    const auto seed = Bytes<32>("4ccd089b28ff96da9db6c346ec114e0f5b8a319f35aba624da8cf6ed4fb8a6fb");
    const ed::PublicKey key = ed::PublicKeyOf(seed);
    const std::string message = "VUR";
    ed::Signature signature = ed::Sign(seed, message);
    ASSERT_TRUE(ed::Verify(key, message, signature));

    static const unsigned char kL[32] = {0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7,
                                         0xa2, 0xde, 0xf9, 0xde, 0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, 0, 0x10};
    EXPECT_FALSE(vur::scalar25519::IsCanonical(kL));
    ed::Signature shifted = signature;
    unsigned carry = 0;
    for (int i = 0; i < 32; ++i) {
        const unsigned sum = shifted[32 + i] + kL[i] + carry;
        shifted[32 + i] = static_cast<unsigned char>(sum);
        carry = sum >> 8;
    }
    ASSERT_EQ(carry, 0u);
    EXPECT_FALSE(ed::Verify(key, message, shifted));

    // y = 2 has no x on the curve ((y^2 - 1) / (d y^2 + 1) is not a square); y = p is out of range.
    ed::PublicKey noPoint{};
    noPoint[0] = 2;
    EXPECT_FALSE(ed::Verify(noPoint, message, signature));
    ed::PublicKey outOfRange = Bytes<32>("edffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f");
    EXPECT_FALSE(ed::Verify(outOfRange, message, signature));
}

// The eight points of order dividing 8 (with a=-1: (0, 1), (0, -1), (+-sqrt(-1), 0) and the four with
// x^2 = -y^2, d y^4 + 2 y^2 = 1) in every encoding a decoder might take: both sign bits, and y + p for the
// two y below 19. Real keys, and a real key plus a point of order 8 (large order, not small), are not.
TEST(Ed25519, SmallOrderKeysInEveryEncodingAndOnlyThey) {
    struct Encoding {
        const char* yHex;
        bool canonical; // the form RFC 8032 decodes, sign bit clear
        bool negativeToo; // the sign bit set gives a point as well (x is not 0)
    };
    const Encoding kSmallOrder[] = {
        {"0100000000000000000000000000000000000000000000000000000000000000", true, false}, // identity
        {"ecffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f", true, false}, // order 2
        {"0000000000000000000000000000000000000000000000000000000000000000", true, true},  // order 4
        {"26e8958fc2b227b045c3f489f2ef98f0d5dfac05d3c63339b13802886d53fc05", true, true},  // order 8
        {"c7176a703d4dd84fba3c0b760d10670f2a2053fa2c39ccc64ec7fd7792ac037a", true, true},  // order 8
        {"edffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f", false, false}, // p, for 0
        {"eeffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f", false, false}, // p + 1, for 1
    };
    int points = 0;
    for (const Encoding& e : kSmallOrder) {
        ed::PublicKey key = Bytes<32>(e.yHex);
        for (bool negative : {false, true}) {
            key[31] = static_cast<unsigned char>((key[31] & 0x7F) | (negative ? 0x80 : 0));
            EXPECT_TRUE(ed::HasSmallOrder(key)) << Hex(key);
            const bool point = e.canonical && (!negative || e.negativeToo);
            EXPECT_EQ(ed::IsPoint(key), point) << Hex(key);
            points += point;
        }
    }
    EXPECT_EQ(points, 8);

    const ed::PublicKey testKey = Bytes<32>("84506fb9723aab3969b0e169a985d9a4f02a2dcb893c9d07ac725f82003ffa82");
    const ed::PublicKey mixed = Bytes<32>("08f46486fa7dbf18e8c92cfa9ee97a7a6acac581b8337913941dfaa1dacb8d89");
    for (const ed::PublicKey& key : {testKey, mixed, ed::PublicKeyOf(ed::Seed{}), ed::PublicKeyOf(ed::Seed{{0xff}})}) {
        EXPECT_TRUE(ed::IsPoint(key)) << Hex(key);
        EXPECT_FALSE(ed::HasSmallOrder(key)) << Hex(key);
    }
    ed::PublicKey noPoint{};
    noPoint[0] = 2;
    EXPECT_FALSE(ed::IsPoint(noPoint));
    EXPECT_FALSE(ed::HasSmallOrder(noPoint));
}
