// The stand-in engines' signature files and file search.
#include "pattern_search.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

TEST(StandinSignatures, ParsesTextAndHexPatternsAndSkipsTheRest) {
    const auto signatures = standin::ParseSignatureFile(
        "; comment\r\n0190 Testdialer|VUR-TESTDIALER-0190\r\n\r\nBinär|hex:00ff4D\nohne Muster|\n|ohne Name\n"
        "kaputt|hex:0g\nkein Strich\n");
    ASSERT_EQ(signatures.size(), 2u);
    EXPECT_EQ(signatures[0].name, "0190 Testdialer");
    EXPECT_EQ(signatures[0].pattern, "VUR-TESTDIALER-0190");
    EXPECT_EQ(signatures[1].name, "Binär");
    EXPECT_EQ(signatures[1].pattern, std::string("\x00\xFF\x4D", 3));
}

TEST(StandinSignatures, FindsPatternsAnywhereIncludingAcrossChunkBoundaries) {
    vurtest::TempDir dir;
    const std::vector<standin::Signature> signatures = {{"A", "VUR-TESTDIALER-0190"}, {"B", "ZZZ"}};
    const std::string marker = "VUR-TESTDIALER-0190";
    for (std::size_t offset : {0u, 1000u, 262144u - 5u, 262144u, 600000u}) {
        std::string content(offset + 100, 'x');
        content.replace(offset, marker.size(), marker);
        dir.Write("f.exe", content);
        EXPECT_EQ(standin::FindFirstMatch(dir.File("f.exe"), signatures), 0) << offset;
    }
    dir.Write("clean.exe", std::string(300000, 'y') + "VUR-TESTDIALER-019");
    EXPECT_EQ(standin::FindFirstMatch(dir.File("clean.exe"), signatures), -1);
    dir.Write("b.exe", "..ZZZ..");
    EXPECT_EQ(standin::FindFirstMatch(dir.File("b.exe"), signatures), 1);
    EXPECT_EQ(standin::FindFirstMatch(dir.File("missing.exe"), signatures), -1);
    EXPECT_EQ(standin::FindFirstMatch(dir.File("b.exe"), {}), -1);
}
