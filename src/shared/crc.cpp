// FileCRC32 reads in bounded chunks, so a file larger than free memory still gets its true checksum.
#include "shared/crc.h"

#include "shared/crc_wide.h"
#include "shared/file_reader.h"

#include <new>
#include <vector>

namespace vur {

namespace {

// entries[0] is the table of the polynomial; entries[k][n] is the CRC of byte n followed by k zero bytes, so
// that eight bytes can be folded in at once with the same result as eight single steps.
struct CrcTable {
    std::uint32_t entries[8][256];
    CrcTable() {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[0][n] = c;
        }
        for (int k = 1; k < 8; ++k)
            for (std::uint32_t n = 0; n < 256; ++n)
                entries[k][n] = (entries[k - 1][n] >> 8) ^ entries[0][entries[k - 1][n] & 0xFF];
    }
};

const CrcTable& Table() {
    static const CrcTable table;
    return table;
}

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::size_t kChunkBytes = 64 * 1024;

} // namespace

std::uint32_t CrcUpdate(std::uint32_t running, const void* bytes, std::size_t length) {
    if (length >= kWideCrcMinimum && WideCrcAvailable()) return CrcUpdateWide(running, bytes, length);
    const auto& t = Table().entries;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    for (; length >= 8; p += 8, length -= 8) {
        const std::uint32_t low = running ^ LittleEndian32(p), high = LittleEndian32(p + 4);
        running = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
                  t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; length > 0; ++p, --length) running = t[0][(running ^ *p) & 0xFF] ^ (running >> 8);
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
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[value & 15];
    return text;
}

} // namespace vur
