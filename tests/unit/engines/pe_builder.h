// Small PE files made in memory for the engine tests: headers, a code and a data section, an import table
// and an export directory, laid out as a linker would.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vurtest {

struct PeSpec {
    bool is64 = false;
    std::vector<std::pair<std::string, std::vector<std::string>>> imports; // library, functions by name
    std::string exportedLibrary;                                        // with `exports`: the export directory
    std::vector<std::string> exports;
    std::string code; // the bytes of ".text"
    std::string data; // bytes put into ".rdata" after the tables
};

std::string BuildPe(const PeSpec& spec);

// Offsets inside what BuildPe makes, for tests that damage a file on purpose.
constexpr std::size_t kPeHeaderAt = 0x80;
constexpr std::size_t kPeSectionTableAt32 = 0x80 + 24 + 224;
constexpr std::size_t kPeSectionTableAt64 = 0x80 + 24 + 240;

// UTF-16LE of ASCII text.
std::string Wide(const std::string& ascii);

} // namespace vurtest
