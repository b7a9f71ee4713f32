// Engine results and the order and addressing of signature loading.
#include "shared/engine_api.h"
#include "shared/signatures.h"

#include <gtest/gtest.h>

TEST(EngineResult, LengthPrefixedTextIsCutAt255) {
    unsigned char buffer[vur::kEngineResultBytes] = {};
    vur::SetEngineResult(buffer, "OK");
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(vur::EngineResultText(buffer), "OK");
    vur::SetEngineResult(buffer, std::string(300, 'x'));
    EXPECT_EQ(buffer[0], 255);
    EXPECT_EQ(vur::EngineResultText(buffer), std::string(255, 'x'));
}

TEST(SignatureLoading, EveryMatchInSearchOrderWithItsFullPathAndTheSumOfCounts) {
    std::vector<std::string> patterns, loaded;
    const auto search = [&](const std::string& pattern) {
        patterns.push_back(pattern);
        return std::vector<std::string>{"zweite.dat", "erste.dat"};
    };
    const int total = vur::LoadSignatures(
        "C:\\VUR\\",
        [&](const std::string& file) {
            loaded.push_back(file);
            return static_cast<int>(loaded.size()) * 10;
        },
        search);
    EXPECT_EQ(patterns, std::vector<std::string>{"C:\\VUR\\signaturen\\*.dat"});
    EXPECT_EQ(loaded, (std::vector<std::string>{"C:\\VUR\\signaturen\\zweite.dat", "C:\\VUR\\signaturen\\erste.dat"}));
    EXPECT_EQ(total, 30);
    EXPECT_EQ(vur::LoadSignatures("C:\\VUR\\", [](const std::string&) { return 1; },
                                  [](const std::string&) { return std::vector<std::string>{}; }),
              0);
}
