// Sealing compared with OpenSSL's command line: SHA-1 key, AES-192 IV of sixteen 0xFF bytes, CFB-8, Base64.
#include "shared/sealing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

std::string RunShell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
}

// The token OpenSSL gives for the same construction, every step done by the openssl tool.
std::string OpenSslToken(const vurtest::TempDir& dir, const std::string& phrase, const std::string& text) {
    dir.Write("phrase", phrase);
    dir.Write("text", text);
    const std::string key = RunShell("openssl dgst -sha1 -binary '" + dir.File("phrase") + "' | xxd -p") + "00000000";
    const std::string iv = RunShell("printf '\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377\\377'"
                               " | openssl enc -aes-192-ecb -nopad -K " + key + " | xxd -p");
    std::string token = RunShell("openssl enc -aes-192-cfb8 -K " + key + " -iv " + iv + " -in '" + dir.File("text") +
                            "' | openssl base64 -A");
    for (char& c : token)
        if (c == '=') c = '!';
    return token;
}

} // namespace

TEST(SealingAgainstOpenSsl, RandomPhrasesAndTextsGiveTheSameTokens) {
    ASSERT_EQ(RunShell("openssl version >/dev/null 2>&1 && echo yes"), "yes") << "openssl is needed for this test";
    vurtest::TempDir dir;
    std::mt19937 rng(1);
    for (int round = 0; round < 24; ++round) {
        std::string phrase(rng() % 24, '\0'), text(1 + rng() % 60, '\0');
        for (char& c : phrase) c = static_cast<char>(rng());
        for (char& c : text) c = static_cast<char>(rng());
        if (round == 0) text = std::string("\x00\x80\x9F\xA0\xE4\xFF", 6);
        const std::string token = vur::SealString(phrase, text);
        EXPECT_EQ(token, OpenSslToken(dir, phrase, text)) << "round " << round;
        EXPECT_EQ(vur::UnsealString(phrase, token), text);
    }
}
