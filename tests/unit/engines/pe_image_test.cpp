// The PE parser on well-formed 32- and 64-bit files and on files damaged in the ways hostile ones are.
#include "pe_builder.h"

#include "engines/pe_image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using vur::engines::ParsePeImage;
using vur::engines::PeImage;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

void Put32(std::string& s, std::size_t at, std::uint32_t v) { std::memcpy(&s[at], &v, 4); }

vurtest::PeSpec Sample(bool is64) {
    vurtest::PeSpec spec;
    spec.is64 = is64;
    spec.imports = {{"RASAPI32.dll", {"RasDialA", "RasHangUpA"}}, {"KERNEL32.dll", {"Sleep"}}};
    spec.exportedLibrary = "probe.dll";
    spec.exports = {"Probe"};
    return spec;
}

TEST(PeImage, ReadsSectionsImportsAndTheExportDirectoryOfBothWidths) {
    for (bool is64 : {false, true}) {
        const std::string file = vurtest::BuildPe(Sample(is64));
        PeImage image;
        ASSERT_TRUE(ParsePeImage(Bytes(file), file.size(), image)) << is64;
        EXPECT_EQ(image.is64, is64);
        ASSERT_EQ(image.sections.size(), 2u);
        EXPECT_EQ(image.sections[0].name, ".text");
        EXPECT_EQ(image.sections[1].name, ".rdata");
        EXPECT_EQ(image.sections[1].rawOffset, 0x600u);
        ASSERT_EQ(image.imports.size(), 3u);
        EXPECT_EQ(image.imports[0].library, "RASAPI32.dll");
        EXPECT_EQ(image.imports[0].function, "RasDialA");
        EXPECT_EQ(image.imports[1].function, "RasHangUpA");
        EXPECT_EQ(image.imports[2].library, "KERNEL32.dll");
        EXPECT_EQ(image.imports[2].function, "Sleep");
        ASSERT_GT(image.exportSize, 40u);
        const std::string exported = file.substr(image.exportOffset, image.exportSize);
        EXPECT_NE(exported.find("Probe"), std::string::npos);
    }
    // Names are read up to the cap and only when made of printable bytes.
    vurtest::PeSpec names;
    const std::string longest(vur::engines::kMaxPeName - 1, 'n');
    names.imports = {{"RASAPI32.dll", {longest, longest + "n", "Tab\tName", "RasDialA"}}};
    const std::string file = vurtest::BuildPe(names);
    PeImage image;
    ASSERT_TRUE(ParsePeImage(Bytes(file), file.size(), image));
    ASSERT_EQ(image.imports.size(), 4u);
    EXPECT_EQ(image.imports[0].function, longest);
    EXPECT_EQ(image.imports[1].function, "");
    EXPECT_EQ(image.imports[2].function, "");
    EXPECT_EQ(image.imports[3].function, "RasDialA");
}

TEST(PeImage, SurvivesTruncationBogusOffsetsHugeCountsAndEndlessTables) {
    const std::string good = vurtest::BuildPe(Sample(false));
    // Every cut: never a read past the end (the sanitizers watch), headers only while they are whole.
    for (std::size_t cut = 0; cut <= good.size(); ++cut) {
        const std::string part = good.substr(0, cut);
        PeImage image;
        const bool parsed = ParsePeImage(Bytes(part), part.size(), image);
        EXPECT_EQ(parsed, cut >= vurtest::kPeSectionTableAt32 + 80) << cut;
        EXPECT_LE(image.imports.size(), 3u);
    }
    PeImage image;
    std::string bad = good;
    Put32(bad, 0x3C, 0xFFFFFFF0); // the PE header far beyond the end
    EXPECT_FALSE(ParsePeImage(Bytes(bad), bad.size(), image));
    bad = good;
    bad[vurtest::kPeHeaderAt + 6] = '\xFF'; // 65,535 sections
    bad[vurtest::kPeHeaderAt + 7] = '\xFF';
    EXPECT_FALSE(ParsePeImage(Bytes(bad), bad.size(), image));
    bad = good;
    Put32(bad, vurtest::kPeSectionTableAt32 + 40 + 20, 0x7FFFFFFF); // .rdata's data beyond the end
    ASSERT_TRUE(ParsePeImage(Bytes(bad), bad.size(), image));
    EXPECT_EQ(image.sections[1].rawSize, 0u);
    EXPECT_TRUE(image.imports.empty());

    // An import table without its closing entry that runs to the end of the file, with thunk arrays that
    // never end: descriptors and names are read until the data ends, and no further.
    vurtest::PeSpec endless = Sample(true);
    endless.data = std::string(20000, '\x01');
    bad = vurtest::BuildPe(endless);
    ASSERT_TRUE(ParsePeImage(Bytes(bad), bad.size(), image));
    const std::size_t healthy = image.imports.size();
    const std::size_t dataAt = 0x600;
    std::memset(&bad[dataAt + 2 * 20], 0x01, 20); // the closing descriptor now points at 0x01010101
    ASSERT_TRUE(ParsePeImage(Bytes(bad), bad.size(), image));
    EXPECT_GE(image.imports.size(), healthy);
    EXPECT_LE(image.imports.size(), vur::engines::kMaxImports);
}

} // namespace
