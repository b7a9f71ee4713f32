// DecodeJpeg over DecodeJpegPixels: the header first, then the pixels into a buffer of the size it names.
#include "shared/ui/jpeg.h"

namespace vur {

RgbImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    char message[kJpegMessageBytes];
    RgbImage image;
    JpegStep step = DecodeJpegPixels(data, size, nullptr, 0, image.width, image.height, message);
    if (step == JpegStep::kNeedsBuffer) {
        image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3, 0);
        step = DecodeJpegPixels(data, size, image.pixels.data(), image.pixels.size(), image.width, image.height,
                                message);
    }
    if (step != JpegStep::kDecoded) throw EJpegError(message);
    return image;
}

} // namespace vur
