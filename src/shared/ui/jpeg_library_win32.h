// vurjpeg.dll: the one copy of libjpeg in the program folder, which every windowed program of the suite
// uses for its pictures instead of linking its own. Its single entry point speaks plain C, so that no C++
// object or exception passes between the library's copy of the C++ runtime and the program's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/ui/jpeg.h"

namespace vur {

constexpr const char* kJpegLibraryFileName = "vurjpeg.dll";
constexpr const char* kDecodeJpegPictureName = "DecodeJpegPicture";

// Answers of DecodeJpegPicture.
enum JpegPictureResult : int {
    kJpegFailed = 0,      // `message` holds the reason, worded as DecodeJpeg words it ("JPEG: ...")
    kJpegDecoded = 1,     // `pixels` holds the picture
    kJpegNeedsBuffer = 2, // only `width` and `height` are set: call again with width * height * 3 bytes
};

// Decodes `size` bytes of JPEG data into `pixels` as DecodeJpeg lays them out (rows top first, red, green,
// blue, no padding) when `capacity` holds them all; `message` gets a zero-terminated text of at most
// `messageSize` bytes.
using DecodeJpegPictureFn = int(__stdcall*)(const unsigned char* data, unsigned long size, unsigned char* pixels,
                                          unsigned long capacity, long* width, long* height, char* message,
                                          unsigned long messageSize);

// The library could not be loaded from the program folder, or lacks its entry point: no picture can show.
class EJpegLibraryMissing : public EJpegError {
public:
    using EJpegError::EJpegError;
};

// Decodes a JPEG file held in memory with `folder` + vurjpeg.dll (the folder ends with its backslash),
// loaded by that full path for this one call. Throws EJpegLibraryMissing, or EJpegError as DecodeJpeg does.
RgbImage DecodeJpegWithLibrary(const std::string& folder, const std::uint8_t* data, std::size_t size);

} // namespace vur
