// libjpeg's decoding with plain C data only, no C++ object and no exception: vurjpeg.dll is built on this
// alone, and DecodeJpeg (jpeg.h) wraps it for the C++ code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vur {

// Pictures larger than this on either side are refused before any pixel memory is taken.
constexpr int kMaxJpegSide = 4096;

// Room for every message of DecodeJpegPixels, its terminating zero included.
constexpr std::size_t kJpegMessageBytes = 256;

enum class JpegStep { kFailed, kDecoded, kNeedsBuffer };

// Reads the picture's header and sets `width` and `height`. When `capacity` holds width * height * 3 bytes,
// decodes into `pixels` (rows top first, each red, green, blue, without padding) and answers kDecoded, else
// kNeedsBuffer. Anything libjpeg would only warn about (a truncated file, corrupt data) fails too, since a
// damaged picture must not be shown as grey noise: kFailed, and `message` (kJpegMessageBytes) holds the
// reason, starting with "JPEG: ".
JpegStep DecodeJpegPixels(const std::uint8_t* data, std::size_t size, std::uint8_t* pixels, std::size_t capacity,
                          int& width, int& height, char* message);

} // namespace vur
