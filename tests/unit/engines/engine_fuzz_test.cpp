// Random and mutated input for the engines' parsers and matcher, with fixed seeds: no crash or stray read
// (the sanitizers watch), the parsers' caps hold, and the one-pass matcher agrees with a plain search.
#include "pe_builder.h"

#include "engines/heuristic_verdict.h"
#include "engines/signature_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>

namespace {

using namespace vur::engines;

// The plain search: every start, every gap width.
bool Naive(const HexPattern& p, const std::string& data, std::size_t segment, std::size_t at) {
    const PatternSegment& s = p.segments[segment];
    if (at > data.size() || data.size() - at < s.bytes.size()) return false;
    for (std::size_t i = 0; i < s.bytes.size(); ++i)
        if (s.fixed[i] && data[at + i] != s.bytes[i]) return false;
    if (segment + 1 == p.segments.size()) return true;
    for (std::size_t g = p.gaps[segment].min; g <= p.gaps[segment].max; ++g)
        if (Naive(p, data, segment + 1, at + s.bytes.size() + g)) return true;
    return false;
}

TEST(EngineFuzz, TheMatcherFindsExactlyWhatAPlainSearchFinds) {
    std::mt19937 random(20261209);
    const char alphabet[] = "ab\x00\xff";
    int found = 0;
    for (int iteration = 0; iteration < 3000; ++iteration) {
        std::string text;
        for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
            if (!text.empty() && random() % 3 == 0)
                text += "{" + std::to_string(random() % 3) + "-" + std::to_string(3 + random() % 3) + "}";
            for (int b = 1 + static_cast<int>(random() % 5); b > 0; --b) {
                if (random() % 6 == 0) text += "??";
                else text += random() % 2 ? "61" : "62";
            }
        }
        std::vector<PatternSignature> patterns(1);
        if (!ParseHexPattern(text, patterns[0].pattern)) continue;
        std::string data(random() % 200, 'a');
        for (char& c : data) c = alphabet[random() % 2 ? 0 : random() % 4];
        bool expected = false;
        for (std::size_t at = 0; at <= data.size() && !expected; ++at) expected = Naive(patterns[0].pattern, data, 0, at);
        SignatureMatcher matcher(patterns);
        const int hit = matcher.FindInBuffer(reinterpret_cast<const unsigned char*>(data.data()), data.size());
        ASSERT_EQ(hit == 0, expected) << text << " in " << data.size() << " bytes, iteration " << iteration;
        found += expected;
    }
    EXPECT_GT(found, 100); // the inputs do exercise matches
}

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string PremiumNumberIn(const std::string& text) {
    return FindTraits(reinterpret_cast<const unsigned char*>(text.data()), text.size(), nullptr).premiumNumber;
}

// The plain search for a premium number: from every place where a number may start, the rest of its run,
// whose digits alone are then judged.
std::string PlainPremiumNumber(const std::string& text) {
    auto at = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : -1; };
    for (std::size_t start = 0; start < text.size(); ++start) {
        const int before = start ? at(start - 1) : -1;
        if (IsDigit(before) || before == '+' || (IsLetter(before) && !std::strchr("TtPpDd", before))) continue;
        const bool plus = text[start] == '+';
        std::string digits;
        std::size_t k = start + plus;
        for (;; ++k) {
            if (IsDigit(at(k))) digits += text[k];
            else if (!(at(k) > 0 && std::strchr(" -/", at(k)) && !digits.empty() && IsDigit(at(k + 1)))) break;
        }
        if (digits.empty() || digits.size() > 15 || IsLetter(at(k))) continue;
        const std::string range = PremiumNumberIn("\x01" + std::string(plus ? "+" : "") + digits + '\0');
        if (!range.empty()) return range;
    }
    return "";
}

TEST(EngineFuzz, NumbersInLongRunsAreWhatAPlainSearchFromEveryStartFinds) {
    std::mt19937 random(190);
    const std::string pieces[] = {"0190", "0900", "0193", "118", "00", "49", "881", "8", "0", "1", "123456",
                                  " ", "-", "/", "  ", "+", "T", "x", ",", std::string(1, '\0')};
    int found = 0;
    for (int iteration = 0; iteration < 20000; ++iteration) {
        std::string text;
        for (int n = 1 + static_cast<int>(random() % 40); n > 0; --n) text += pieces[random() % std::size(pieces)];
        const std::string expected = PlainPremiumNumber(text);
        ASSERT_EQ(PremiumNumberIn(text), expected) << "\"" << text << "\"";
        found += !expected.empty();
    }
    EXPECT_GT(found, 2000); // the inputs do hold premium numbers, and near-misses of them
}

TEST(EngineFuzz, RandomBytesHoldNoModemCommandAndNothingSuspicious) {
    std::mt19937_64 random(8);
    std::string bytes(4u << 20, '\0');
    for (int file = 0; file < 20; ++file) {
        for (std::size_t at = 0; at < bytes.size(); at += 8) {
            const std::uint64_t eight = random();
            std::memcpy(&bytes[at], &eight, 8);
        }
        const Traits traits = FindTraits(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), nullptr);
        EXPECT_EQ(traits.dialCommand, "") << file;
        EXPECT_EQ(Verdict(traits), "OK") << file;
    }
}

TEST(EngineFuzz, MutatedSignatureFilesAndProgramFilesKeepTheParsersInBounds) {
    std::mt19937 random(4711);
    const std::string lines[] = {"pattern|A|any|41424344\n", "pattern|B|offset:3|41 ?? 42434445 {1-9} 46\n",
                                 "pattern|C|section:.text|C3C3C3C3\n", "hash|D|5|" + std::string(128, 'f') + "\n",
                                 "; x\n", "\n", "|||\n", "pattern|E|any|{\n"};
    for (int iteration = 0; iteration < 2000; ++iteration) {
        std::string file;
        for (int n = static_cast<int>(random() % 8); n > 0; --n) file += lines[random() % 8];
        for (int m = static_cast<int>(random() % 4); m > 0 && !file.empty(); --m)
            file[random() % file.size()] = static_cast<char>(random() % 256);
        const SignatureFile parsed = ParseSignatureFile(file);
        const auto lineCount = static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n') + 1);
        ASSERT_LE(parsed.Loaded() + parsed.malformedLines.size(), lineCount) << iteration;
    }

    vurtest::PeSpec spec;
    spec.imports = {{"RASAPI32.dll", {"RasDialA"}}, {"KERNEL32.dll", {"Sleep", "ExitProcess"}}};
    spec.exportedLibrary = "x.dll";
    spec.exports = {"RasDialA"};
    spec.data = "0190-8123456";
    for (int iteration = 0; iteration < 3000; ++iteration) {
        spec.is64 = iteration % 2;
        std::string file = vurtest::BuildPe(spec);
        for (int m = 1 + static_cast<int>(random() % 6); m > 0; --m) {
            const std::size_t at = random() % 4 ? random() % 0x400 : random() % file.size(); // mostly headers
            if (random() % 3) file[at] = static_cast<char>(random() % 256);
            else file.replace(at, std::min<std::size_t>(4, file.size() - at), 4, static_cast<char>(random() % 2 ? 0xFF : 0x7F));
        }
        if (random() % 4 == 0) file.resize(random() % file.size());
        PeImage image;
        const auto* data = reinterpret_cast<const unsigned char*>(file.data());
        const bool parsed = ParsePeImage(data, file.size(), image);
        if (parsed) {
            ASSERT_LE(image.sections.size(), kMaxPeSections);
            ASSERT_LE(image.imports.size(), kMaxImports);
            for (const PeSection& s : image.sections)
                ASSERT_TRUE(s.rawSize == 0 || std::uint64_t{s.rawOffset} + s.rawSize <= file.size());
            ASSERT_LE(image.exportOffset + image.exportSize, file.size());
            for (const PeImport& i : image.imports) ASSERT_LE(i.function.size(), kMaxPeName);
        }
        const std::string verdict = Verdict(FindTraits(data, file.size(), parsed ? &image : nullptr));
        ASSERT_LE(verdict.size(), 255u);
    }
}

} // namespace
