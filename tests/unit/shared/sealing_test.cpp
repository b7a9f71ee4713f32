// Base64 and the sealing of settings names and values.
#include "shared/base64.h"
#include "shared/errors.h"
#include "shared/sealing.h"

#include <gtest/gtest.h>

#include <random>

TEST(Base64, Rfc4648VectorsEncodeAndDecode) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(vur::Base64Encode(plain), encoded);
        EXPECT_EQ(vur::Base64Decode(encoded), plain);
    }
    EXPECT_EQ(vur::Base64Encode(std::string("\xFB\xFF", 2)), "+/8=");
}

TEST(Base64, DecodingIsLenientButRejectsBadLengths) {
    for (const char* bad : {"A", "AB", "ABC", "ABCDE"}) {
        try {
            vur::Base64Decode(bad);
            ADD_FAILURE() << bad;
        } catch (const vur::EBase64Error& e) {
            EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
        }
    }
    // Every character outside the alphabet counts as 63, like '/'.
    EXPECT_EQ(vur::Base64Decode("////"), vur::Base64Decode("#*?\xE4"));
    EXPECT_EQ(vur::Base64Decode("////"), std::string(3, '\xFF'));
    // Padding only counts in the last group; unused low bits are dropped.
    EXPECT_EQ(vur::Base64Decode("Zh=="), "f");
    EXPECT_EQ(vur::Base64Decode("Zm9=").size(), 2u);
}

TEST(Sealing, TokensUseOnlyTheTokenAlphabetAndKeepTheLength) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/!";
    std::mt19937 rng(7);
    for (std::size_t n = 0; n < 40; ++n) {
        std::string text(n, '\0');
        for (char& c : text) c = static_cast<char>(rng());
        const std::string token = vur::SealString("Besitzer", text);
        EXPECT_EQ(token.size(), 4 * ((n + 2) / 3));
        EXPECT_EQ(token.find_first_not_of(alphabet), std::string::npos);
        EXPECT_EQ(token.find('='), std::string::npos);
        EXPECT_EQ(vur::UnsealString("Besitzer", token), text);
    }
}

TEST(Sealing, PaddingBecomesExclamationMarks) {
    EXPECT_EQ(vur::SealString("p", ""), "");
    EXPECT_EQ(vur::UnsealString("p", ""), "");
    EXPECT_EQ(vur::SealString("p", "a").substr(2), "!!");
    const std::string two = vur::SealString("p", "ab");
    EXPECT_EQ(two.back(), '!');
    EXPECT_NE(two[2], '!');
    EXPECT_EQ(vur::SealString("p", "abc").find('!'), std::string::npos);
}

TEST(Sealing, DeterministicAndIndependentOfWhatWasSealedBefore) {
    const std::string first = vur::SealString("12345-oem-0000001-54321", "Generell");
    vur::SealString("other", "something else entirely");
    vur::UnsealString("other", "QUJD");
    EXPECT_EQ(vur::SealString("12345-oem-0000001-54321", "Generell"), first);
    EXPECT_FALSE(vur::ProgramCipher().Keyed());
}

TEST(Sealing, AllByteValuesRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string phrase = std::string("\x00\x80\xFF\xE4", 4);
    EXPECT_EQ(vur::UnsealString(phrase, vur::SealString(phrase, all)), all);
}

TEST(Sealing, WrongPhraseGivesOtherBytesOfTheSameLengthWithoutError) {
    const std::string token = vur::SealString("richtig", "C:\\Programme\\VUR\\fast.exe");
    const std::string wrong = vur::UnsealString("falsch", token);
    EXPECT_EQ(wrong.size(), std::string("C:\\Programme\\VUR\\fast.exe").size());
    EXPECT_NE(wrong, "C:\\Programme\\VUR\\fast.exe");
}

TEST(Sealing, MalformedTokenRaisesBase64MessageAndTheNextCallStillWorks) {
    try {
        vur::UnsealString("p", "ABCDE");
        ADD_FAILURE();
    } catch (const vur::EBase64Error& e) {
        EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
    }
    EXPECT_TRUE(vur::ProgramCipher().Keyed()); // left keyed until the next call re-keys it
    EXPECT_EQ(vur::UnsealString("p", vur::SealString("p", "abc")), "abc");
    EXPECT_FALSE(vur::ProgramCipher().Keyed());
}
