// File checksum: the reflected CRC-32 of IEEE 802.3 over a whole file, and its 8-digit text form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vur {

// Every caller passes this as the initial value.
constexpr std::uint32_t kCrcInitial = 0xFFFFFFFFu;

// The table-driven inner loop: runs the bytes through the running value, without the final complement.
std::uint32_t CrcUpdate(std::uint32_t running, const void* bytes, std::size_t length);

// The complemented CRC of the whole file (zlib's crc32 for a readable non-empty file). An empty, missing,
// unreadable or short-read file gives 0xFFFFFFFF; no error is ever raised.
std::uint32_t FileCRC32(const std::string& path, std::uint32_t initial = kCrcInitial);

// Exactly 8 upper-case hexadecimal digits with leading zeros.
std::string CrcText(std::uint32_t value);

} // namespace vur
