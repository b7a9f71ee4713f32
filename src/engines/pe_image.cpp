// PE parsing with every read bounds-checked; see pe_image.h.
#include "engines/pe_image.h"

namespace vur::engines {

namespace {

struct Bytes {
    const unsigned char* data;
    std::size_t size;

    bool Has(std::uint64_t at, std::uint64_t length) const { return at <= size && size - at >= length; }
    std::uint32_t U16(std::uint64_t at) const { return data[at] | data[at + 1] << 8; }
    std::uint32_t U32(std::uint64_t at) const {
        return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
               static_cast<std::uint32_t>(data[at + 2]) << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
    }
    std::uint64_t U64(std::uint64_t at) const { return U32(at) | static_cast<std::uint64_t>(U32(at + 4)) << 32; }
    // A zero-terminated name of printable bytes, at most kMaxPeName long; false when cut off or empty.
    bool Name(std::uint64_t at, std::string& name) const {
        name.clear();
        if (at >= size) return false;
        const std::uint64_t end = size - at < kMaxPeName ? size : at + kMaxPeName;
        std::uint64_t i = at;
        while (i < end && data[i] >= 0x20) ++i;
        if (i == end || data[i] != 0 || i == at) return false;
        name.assign(reinterpret_cast<const char*>(data + at), i - at);
        return true;
    }
};

struct Directory {
    std::uint32_t rva = 0, size = 0;
};

struct Headers {
    Directory exports, imports;
};

bool ParseHeaders(const Bytes& b, std::uint64_t fileSize, PeImage& image, Headers& headers) {
    image = PeImage();
    image.fileSize = fileSize;
    if (!b.Has(0, 0x40) || b.data[0] != 'M' || b.data[1] != 'Z') return false;
    const std::uint64_t pe = b.U32(0x3C);
    if (!b.Has(pe, 24) || b.U32(pe) != 0x00004550) return false; // "PE\0\0"
    const std::uint32_t sectionCount = b.U16(pe + 6);
    const std::uint32_t optionalSize = b.U16(pe + 20);
    const std::uint64_t optional = pe + 24;
    if (sectionCount > kMaxPeSections || !b.Has(optional, 2)) return false;
    const std::uint32_t magic = b.U16(optional);
    if (magic != 0x10B && magic != 0x20B) return false;
    image.is64 = magic == 0x20B;
    // Offsets inside the optional header differ by the wider image base and stack fields of PE32+.
    const std::uint64_t headerSizeAt = optional + 60, countAt = optional + (image.is64 ? 108 : 92);
    if (optionalSize < countAt + 4 - optional || !b.Has(countAt, 4)) return false;
    const std::uint32_t headerBytes = b.U32(headerSizeAt);
    image.headerBytes = headerBytes < fileSize ? headerBytes : static_cast<std::uint32_t>(fileSize);
    std::uint32_t directories = b.U32(countAt);
    const std::uint64_t directoryAt = countAt + 4;
    for (std::uint32_t i = 0; i < directories && i < 2; ++i) {
        const std::uint64_t at = directoryAt + 8ull * i;
        if (at + 8 > optional + optionalSize || !b.Has(at, 8)) break;
        Directory& d = i == 0 ? headers.exports : headers.imports;
        d.rva = b.U32(at);
        d.size = b.U32(at + 4);
    }
    const std::uint64_t table = optional + optionalSize;
    if (!b.Has(table, 40ull * sectionCount)) return false;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + 40ull * i;
        PeSection s;
        for (int c = 0; c < 8 && b.data[at + c]; ++c) s.name += static_cast<char>(b.data[at + c]);
        s.virtualSize = b.U32(at + 8);
        s.virtualAddress = b.U32(at + 12);
        s.rawSize = b.U32(at + 16);
        s.rawOffset = b.U32(at + 20);
        if (s.rawOffset >= fileSize) s.rawSize = 0;
        else if (s.rawSize > fileSize - s.rawOffset) s.rawSize = static_cast<std::uint32_t>(fileSize - s.rawOffset);
        image.sections.push_back(s);
    }
    return true;
}

void ParseImports(const Bytes& b, const Directory& directory, PeImage& image) {
    std::uint64_t at;
    if (directory.rva == 0 || !RvaToOffset(image, directory.rva, at)) return;
    const std::uint64_t entryBytes = image.is64 ? 8 : 4;
    for (std::size_t library = 0; library < kMaxImportLibraries; ++library, at += 20) {
        if (!b.Has(at, 20)) return;
        const std::uint32_t lookup = b.U32(at), nameRva = b.U32(at + 12), bound = b.U32(at + 16);
        if (lookup == 0 && nameRva == 0 && bound == 0) return; // the closing descriptor
        std::uint64_t nameAt, thunk;
        std::string libraryName;
        if (!RvaToOffset(image, nameRva, nameAt) || !b.Name(nameAt, libraryName)) continue;
        if (!RvaToOffset(image, lookup ? lookup : bound, thunk)) continue;
        for (std::size_t n = 0; n < kMaxImportsPerLibrary; ++n, thunk += entryBytes) {
            if (!b.Has(thunk, entryBytes) || image.imports.size() >= kMaxImports) return;
            const std::uint64_t entry = image.is64 ? b.U64(thunk) : b.U32(thunk);
            if (entry == 0) break;
            const bool byOrdinal = image.is64 ? (entry >> 63) != 0 : (entry >> 31) != 0;
            PeImport import{libraryName, ""};
            std::uint64_t hintAt;
            if (!byOrdinal && (entry >> 32) == 0 && RvaToOffset(image, entry, hintAt) && b.Has(hintAt, 2))
                b.Name(hintAt + 2, import.function);
            image.imports.push_back(import);
        }
    }
}

} // namespace

bool RvaToOffset(const PeImage& image, std::uint64_t rva, std::uint64_t& offset) {
    if (rva < image.headerBytes) {
        offset = rva;
        return true;
    }
    for (const PeSection& s : image.sections) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
            offset = s.rawOffset + (rva - s.virtualAddress);
            return offset < image.fileSize;
        }
    }
    return false;
}

bool ParsePeHeaders(const unsigned char* data, std::size_t size, std::uint64_t fileSize, PeImage& image) {
    Headers headers;
    return ParseHeaders(Bytes{data, size}, fileSize, image, headers);
}

bool ParsePeImage(const unsigned char* data, std::size_t size, PeImage& image) {
    const Bytes b{data, size};
    Headers headers;
    if (!ParseHeaders(b, size, image, headers)) return false;
    ParseImports(b, headers.imports, image);
    std::uint64_t at;
    if (headers.exports.rva && headers.exports.size && RvaToOffset(image, headers.exports.rva, at)) {
        image.exportOffset = at;
        image.exportSize = headers.exports.size < size - at ? headers.exports.size : size - at;
    }
    return true;
}

} // namespace vur::engines
