// FileCRC32 reads in bounded chunks, so a file larger than free memory still gets its true checksum.
#include "crc.h"

#include "file_reader.h"

#include <cstdio>
#include <new>
#include <vector>

namespace vur {

namespace {

struct CrcTable {
    std::uint32_t entries[256];
    CrcTable() {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
    }
};

const CrcTable& Table() {
    static const CrcTable table;
    return table;
}

constexpr std::size_t kChunkBytes = 64 * 1024;

} // namespace

std::uint32_t CrcUpdate(std::uint32_t running, const void* bytes, std::size_t length) {
    const std::uint32_t* table = Table().entries;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    for (std::size_t i = 0; i < length; ++i) running = table[(running ^ p[i]) & 0xFF] ^ (running >> 8);
    return running;
}

std::uint32_t FileCRC32(const std::string& path, std::uint32_t initial) {
    SharedFileReader file;
    if (!file.Open(path)) return 0xFFFFFFFFu;
    const std::int64_t size = file.Size();
    if (size <= 0) return 0xFFFFFFFFu;

    std::vector<std::uint8_t> chunk;
    try {
        chunk.resize(kChunkBytes);
    } catch (const std::bad_alloc&) {
        return 0xFFFFFFFFu;
    }
    // The size taken at the start is what is checked; a file that shrinks meanwhile counts as a read error.
    std::uint32_t crc = initial;
    std::int64_t left = size;
    while (left > 0) {
        const std::size_t want = left < static_cast<std::int64_t>(kChunkBytes) ? static_cast<std::size_t>(left)
                                                                                : kChunkBytes;
        const long got = file.Read(chunk.data(), want);
        if (got <= 0) return 0xFFFFFFFFu;
        crc = CrcUpdate(crc, chunk.data(), static_cast<std::size_t>(got));
        left -= got;
    }
    return ~crc;
}

std::string CrcText(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

} // namespace vur
