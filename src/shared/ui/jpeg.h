// Decoding JPEG pictures (the suite's window pictures) into 24-bit RGB pixels with libjpeg.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "shared/errors.h"
#include "shared/ui/jpeg_pixels.h"

namespace vur {

class EJpegError : public EVurError {
public:
    using EVurError::EVurError;
};

// Pixels top row first, each row `width` * 3 bytes in the order red, green, blue, without padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Decodes a whole JPEG file held in memory. Anything libjpeg would only warn about (a truncated file, corrupt
// data) is an error here too, since a damaged picture must not be shown as grey noise. Throws EJpegError whose
// message starts with "JPEG: " and carries libjpeg's reason.
RgbImage DecodeJpeg(const std::uint8_t* data, std::size_t size);

} // namespace vur
