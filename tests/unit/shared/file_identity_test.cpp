// FileCRC32 on real files and the ExpandLongPath component walk over a fake file system.
#include "shared/crc.h"
#include "shared/crc_wide.h"
#include "shared/long_path.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

TEST(FileCrc32, KnownValuesAndTheFfffffffCases) {
    vurtest::TempDir dir;
    dir.Write("abc", "abc");
    dir.Write("check", "123456789");
    dir.Write("empty", "");
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(dir.File("abc"))), "352441C2");
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(dir.File("check"))), "CBF43926");
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(dir.File("empty"))), "FFFFFFFF");
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(dir.File("missing"))), "FFFFFFFF");
    EXPECT_EQ(vur::CrcText(vur::FileCRC32(dir.Path())), "FFFFFFFF"); // a folder cannot be read as a file
}

// The CRC bit by bit, without any table: what the table-driven routine must equal for every length.
std::uint32_t BitwiseCrc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

// Short runs take the table, long ones the vector folding where the processor has it: both must equal the
// bitwise CRC for every length, offset and split into two calls (the running value carried between them).
TEST(FileCrc32, EveryRunEqualsTheBitwiseCrcForEveryLengthOffsetAndSplit) {
    std::mt19937 rng(7);
    std::string bytes(1200, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    for (std::size_t offset = 0; offset < 16; offset += 3)
        for (std::size_t length = 0; offset + length <= bytes.size(); length += length < 300 ? 1 : 97) {
            const std::string part = bytes.substr(offset, length);
            const std::uint32_t expected = BitwiseCrc(part);
            ASSERT_EQ(~vur::CrcUpdate(vur::kCrcInitial, part.data(), part.size()), expected) << length;
            const std::size_t split = length * 5 / 8;
            const std::uint32_t first = vur::CrcUpdate(vur::kCrcInitial, part.data(), split);
            ASSERT_EQ(~vur::CrcUpdate(first, part.data() + split, length - split), expected) << length;
        }
    if (!vur::WideCrcAvailable()) GTEST_SKIP() << "no carry-less multiply here: only the table routine was run";
    EXPECT_EQ(vur::CrcUpdateWide(0x12345678u, bytes.data(), bytes.size()),
              vur::CrcUpdate(vur::CrcUpdate(0x12345678u, bytes.data(), 63), bytes.data() + 63, bytes.size() - 63));
}

TEST(FileCrc32, ChunkedReadingMatchesOneRunOverTheWholeFile) {
    vurtest::TempDir dir;
    std::mt19937 rng(3);
    for (std::size_t size : {65535u, 65536u, 65537u, 300000u}) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        dir.Write("f", bytes);
        const std::uint32_t whole = ~vur::CrcUpdate(vur::kCrcInitial, bytes.data(), bytes.size());
        EXPECT_EQ(vur::FileCRC32(dir.File("f")), whole) << size;
    }
}

TEST(FileCrc32, InitialValueIsUsedAndTextHasLeadingZeros) {
    vurtest::TempDir dir;
    dir.Write("abc", "abc");
    EXPECT_EQ(vur::FileCRC32(dir.File("abc"), 0), ~vur::CrcUpdate(0, "abc", 3));
    EXPECT_EQ(vur::CrcText(0x0000ABCDu), "0000ABCD");
    EXPECT_EQ(vur::CrcText(0u), "00000000");
}

namespace {

// Case folding as the Windows file system does it for CP1252 names (Ä and ä are the same letter).
std::string Lower(std::string s) {
    for (char& c : s) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) c = static_cast<char>(b + 32);
    }
    return s;
}

// Directory entries by lower-cased full path; an entry is found by its long or its short name.
class FakeFileSystem : public vur::DirectoryLookup {
public:
    std::string currentDirectory = "C:\\Work\\";
    mutable std::vector<std::string> searches;

    void Add(const std::string& parent, const std::string& longName, const std::string& shortName) {
        entries_[Lower(parent + longName)] = longName;
        entries_[Lower(parent + shortName)] = longName;
    }

    bool MakeAbsolute(const std::string& path, std::string& absolute) const override {
        absolute = (path.size() > 1 && path[1] == ':') ? path : currentDirectory + path;
        return true;
    }

    bool FindFirstName(const std::string& pattern, std::string& longName) const override {
        searches.push_back(pattern);
        const auto it = entries_.find(Lower(pattern));
        if (it == entries_.end()) return false;
        longName = it->second;
        return true;
    }

private:
    std::map<std::string, std::string> entries_;
};

FakeFileSystem SampleTree() {
    FakeFileSystem fs;
    fs.Add("C:\\", "Program Files", "PROGRA~1");
    fs.Add("C:\\Program Files\\", "Dialer Pro", "DIALER~1");
    fs.Add("C:\\Program Files\\Dialer Pro\\", "Wählprogramm.exe", "WHLPRO~1.EXE");
    fs.Add("C:\\", "Work", "WORK");
    return fs;
}

} // namespace

TEST(ExpandLongPath, ShortAndMixedCaseFormsGiveTheLongPath) {
    const FakeFileSystem fs = SampleTree();
    const std::string longPath = "C:\\Program Files\\Dialer Pro\\Wählprogramm.exe";
    EXPECT_EQ(vur::ExpandLongPath("C:\\PROGRA~1\\DIALER~1\\WHLPRO~1.EXE", fs), longPath);
    // The drive part is taken as it stands; callers lower-case the whole path anyway.
    EXPECT_EQ(vur::ExpandLongPath("c:\\program files\\DIALER PRO\\wÄhlprogramm.exe", fs), "c" + longPath.substr(1));
    EXPECT_EQ(Lower(vur::ExpandLongPath("C:\\progra~1\\Dialer Pro\\whlpro~1.exe", fs)), Lower(longPath));
}

TEST(ExpandLongPath, MissingComponentKeepsTheRestAsTyped) {
    const FakeFileSystem fs = SampleTree();
    EXPECT_EQ(vur::ExpandLongPath("c:\\progra~1\\dialer~1\\Fehlt\\NOCH~1\\x.exe", fs),
              "c:\\Program Files\\Dialer Pro\\Fehlt\\NOCH~1\\x.exe");
    EXPECT_EQ(vur::ExpandLongPath("C:\\progra~1\\weg\\x", fs), "C:\\Program Files\\weg\\x");
}

TEST(ExpandLongPath, TrailingBackslashRootAndRelativePaths) {
    FakeFileSystem fs = SampleTree();
    EXPECT_EQ(vur::ExpandLongPath("C:\\PROGRA~1\\", fs), "C:\\Program Files\\");
    fs.searches.clear();
    EXPECT_EQ(vur::ExpandLongPath("C:\\", fs), "C:\\");
    ASSERT_EQ(fs.searches.size(), 1u); // the first pass runs for the root as well
    EXPECT_EQ(fs.searches[0], "C:\\");
    fs.currentDirectory = "C:\\PROGRA~1\\";
    EXPECT_EQ(vur::ExpandLongPath("dialer~1", fs), "C:\\Program Files\\Dialer Pro");
}

TEST(ExpandLongPath, OneSearchPerComponent) {
    FakeFileSystem fs = SampleTree();
    vur::ExpandLongPath("C:\\PROGRA~1\\DIALER~1\\WHLPRO~1.EXE", fs);
    const std::vector<std::string> expected = {"C:\\PROGRA~1", "C:\\Program Files\\DIALER~1",
                                               "C:\\Program Files\\Dialer Pro\\WHLPRO~1.EXE"};
    EXPECT_EQ(fs.searches, expected);
}
