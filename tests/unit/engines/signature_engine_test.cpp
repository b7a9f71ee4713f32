// The signature engine: the file format with its malformed lines, and scans of files on disk for patterns
// (wildcards, gaps, offsets, sections, chunk boundaries) and whole-file hashes.
#include "pe_builder.h"
#include "support/temp_dir.h"

#include "engines/signature_database.h"
#include "shared/sha512.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using vur::engines::ParseSignatureFile;
using vur::engines::PatternSignature;
using vur::engines::SignatureDatabase;

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) hex += std::string{digits[c >> 4], digits[c & 15]};
    return hex;
}

TEST(SignatureFile, ReadsEveryKindAndCountsEachMalformedLineWithoutStopping) {
    const std::string digest(128, 'a');
    const auto file = ParseSignatureFile(
        "; comment\r\n"
        "pattern|Eins|any|41 42 43 44\r\n"                   // 2
        "\r\n"
        "pattern|Zwei|offset:512|4D5A ?? 00 {2-8} 50 45 00 00\n" // 4
        "pattern|Drei|section:.rdata|31323334{0-4}3536\n"    // 5
        "hash|Vier|1234|" + digest + "\n"                   // 6
        "pattern|Kurz|any|41 42 ?? 43 44\n"                  // 7: no four fixed bytes in a row
        "pattern|Ungerade|any|414\n"                         // 8
        "pattern|Lücke vorn|any|{2} 41424344\n"              // 9
        "pattern|Lücke hinten|any|41424344 {2}\n"            // 10
        "pattern|Zu weit|any|41424344 {0-2000} 45\n"         // 11
        "pattern||any|41424344\n"                            // 12: no name
        "pattern|Ort|anywhere|41424344\n"                    // 13
        "pattern|Sektion|section:.vieltoolang|41424344\n"    // 14
        "hash|Kurzer Hash|12|abcdef\n"                       // 15
        "hash|Größe|-1|" + digest + "\n"                    // 16
        "muster|Fremd|any|41424344\n"                        // 17
        "pattern|Feld zu viel|any|41424344|x\n"              // 18
        "pattern|" + std::string(201, 'n') + "|any|41424344\n" // 19: name too long for a result
        "pattern|Ende|any|45 46 47 48");                     // 20, no line end
    ASSERT_EQ(file.patterns.size(), 4u);
    EXPECT_EQ(file.hashes.size(), 1u);
    EXPECT_EQ(file.Loaded(), 5u);
    EXPECT_EQ(file.malformedLines, (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(file.patterns[1].where, PatternSignature::Where::Offset);
    EXPECT_EQ(file.patterns[1].offset, 512u);
    EXPECT_EQ(file.patterns[2].where, PatternSignature::Where::Section);
    EXPECT_EQ(file.patterns[2].section, ".rdata");
    EXPECT_EQ(file.hashes[0].size, 1234u);
    EXPECT_EQ(file.hashes[0].digest, std::string(64, '\xAA'));
}

TEST(SignatureFile, APatternThatWouldFindItsOwnFileIsRefused) {
    // Bytes that are hex digits themselves appear in their own hex text ("3333" holds "33"), and a comment can
    // hold a pattern's bytes in plain text.
    const auto file = ParseSignatureFile("; marker VUR-TEST\n"
                                         "pattern|Selbst|any|33333333\n"
                                         "pattern|Kommentar|any|56 55 52 2D 54 45 53 54\n"
                                         "pattern|Echt|any|DE AD BE EF\n");
    ASSERT_EQ(file.patterns.size(), 1u);
    EXPECT_EQ(file.patterns[0].name, "Echt");
    EXPECT_EQ(file.malformedLines, (std::vector<int>{2, 3}));
}

class SignatureScan : public ::testing::Test {
protected:
    std::string Scan(const std::string& bytes) {
        dir.Write("probe.exe", bytes);
        return database.Scan(dir.File("probe.exe"));
    }
    vurtest::TempDir dir;
    SignatureDatabase database;
};

TEST_F(SignatureScan, FindsPatternsAnywhereInOnePassAcrossChunkBoundaries) {
    EXPECT_EQ(database.Scan(dir.File("missing.exe")), "");
    EXPECT_EQ(database.Add(ParseSignatureFile("pattern|Gap|any|10 11 12 13 {1-3} 20 ?? 22\n"
                                              "pattern|Mitte|any|AA ?? {0-100} 01 02 03 04 {4} FF\n"
                                              "pattern|Erster|any|01 02 03 04 05\n")),
              3u);
    EXPECT_EQ(database.Count(), 3u);
    const std::string gapHit = "\x10\x11\x12\x13" "xy" "\x20\x99\x22";
    const std::string middleHit = std::string("\xAA\x00", 2) + std::string(100, 'z') + "\x01\x02\x03\x04" "abcd\xFF";
    // Around every chunk boundary of the reads, and in a file of several chunks.
    for (std::size_t at : {0u, 1000u, 262144u - 9u, 262144u - 4u, 262144u - 1u, 262144u, 3u * 262144u + 17u}) {
        std::string content(at + 300, '\x55');
        content.replace(at, gapHit.size(), gapHit);
        EXPECT_EQ(Scan(content), "Gap") << at;
        content.assign(at + 300, '\x55');
        content.replace(at, middleHit.size(), middleHit);
        content.resize(at + middleHit.size()); // the match ends with the file
        EXPECT_EQ(Scan(content), "Mitte") << at;
    }
    EXPECT_EQ(Scan("\x10\x11\x12\x13" "wxyz" "\x20\x99\x22"), "") << "gap wider than allowed";
    EXPECT_EQ(Scan("\x10\x11\x12\x13" "\x20\x99\x22"), "") << "gap narrower than allowed";
    EXPECT_EQ(Scan("\x10\x11\x12\x13" "x" "\x20\x99"), "") << "cut off at the end";
    EXPECT_EQ(Scan(std::string("\xAA\x00", 2) + std::string(101, 'z') + "\x01\x02\x03\x04" "abcd\xFF"), "");
    // The earlier match in the file wins, whatever the order of loading.
    EXPECT_EQ(Scan("...\x01\x02\x03\x04\x05..." + gapHit), "Erster");
    EXPECT_EQ(Scan(gapHit + "\x01\x02\x03\x04\x05"), "Gap");
}

TEST_F(SignatureScan, KeepsPatternsToTheirOffsetOrSection) {
    database.Add(ParseSignatureFile("pattern|Am Anfang|offset:2|C0 FF EE 11\n"
                                    "pattern|In rdata|section:.rdata|DA DA DA DA\n"));
    EXPECT_EQ(Scan("..\xC0\xFF\xEE\x11"), "Am Anfang");
    EXPECT_EQ(Scan("...\xC0\xFF\xEE\x11"), "");
    vurtest::PeSpec inText, inData;
    inText.code = std::string(64, '\x90') + "\xDA\xDA\xDA\xDA";
    inData.data = "\xDA\xDA\xDA\xDA";
    EXPECT_EQ(Scan(vurtest::BuildPe(inText)), "");
    EXPECT_EQ(Scan(vurtest::BuildPe(inData)), "In rdata");
    EXPECT_EQ(Scan("not a PE \xDA\xDA\xDA\xDA"), "");
}

TEST_F(SignatureScan, MatchesWholeFileHashesOnlyBySizeAndDigest) {
    const std::string sample = "MZ a sample that is only known by its hash " + std::string(300000, 'q');
    database.Add(ParseSignatureFile("hash|Gehasht|" + std::to_string(sample.size()) + "|" +
                                    Hex(vur::Sha512Digest(sample)) + "\n"));
    EXPECT_EQ(Scan(sample), "Gehasht");
    std::string changed = sample;
    changed[100] = 'r';
    EXPECT_EQ(Scan(changed), "") << "same size, another digest";
    EXPECT_EQ(Scan(sample + "x"), "") << "another size";
}

TEST_F(SignatureScan, TheShippedTestSignatureFindsItsMarkerButNotItsOwnFile) {
    std::ifstream in(VUR_SOURCE_DIR "/src/engines/testdialer.dat", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const auto file = ParseSignatureFile(text.str());
    EXPECT_TRUE(file.malformedLines.empty());
    EXPECT_EQ(database.Add(file), 1u);
    EXPECT_EQ(Scan("MZ..." + std::string("VUR-TEST") + "DIALER-0190..."), "0190 Testdialer");
    EXPECT_EQ(Scan(text.str()), "");
}

} // namespace
