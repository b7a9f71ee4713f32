// A PE file's headers, sections, imports and export directory, read from untrusted bytes: every offset and
// count is checked against the data, counts are capped, and nothing is followed twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vur::engines {

struct PeSection {
    std::string name; // up to 8 characters, without the zero padding
    std::uint32_t virtualAddress = 0, virtualSize = 0;
    std::uint32_t rawOffset = 0, rawSize = 0; // rawSize already cut to what the file holds
};

struct PeImport {
    std::string library;  // as the file spells it
    std::string function; // empty for an import by ordinal
};

struct PeImage {
    bool is64 = false;
    std::uint32_t headerBytes = 0; // SizeOfHeaders, cut to the file
    std::uint64_t fileSize = 0;
    std::vector<PeSection> sections;
    std::vector<PeImport> imports;
    // The file bytes of the export directory (its names included), size 0 when there is none.
    std::uint64_t exportOffset = 0, exportSize = 0;
};

// Caps against files made to exhaust the parser.
constexpr std::size_t kMaxPeSections = 96;        // the loader's own limit
constexpr std::size_t kMaxImportLibraries = 1024;
constexpr std::size_t kMaxImportsPerLibrary = 8192;
constexpr std::size_t kMaxImports = 32768;
constexpr std::size_t kMaxPeName = 512;

// Headers and the section table; `data` may be only the start of the file. False when it is no PE file.
bool ParsePeHeaders(const unsigned char* data, std::size_t size, std::uint64_t fileSize, PeImage& image);

// Headers, sections, imports and the export directory from the whole file. False when it is no PE file;
// damaged import or export data yield what could be read.
bool ParsePeImage(const unsigned char* data, std::size_t size, PeImage& image);

// The file offset of a relative virtual address, when it lies in the headers or in a section's file data.
bool RvaToOffset(const PeImage& image, std::uint64_t rva, std::uint64_t& offset);

} // namespace vur::engines
