// libjpeg behind DecodeJpeg: errors leave libjpeg by longjmp and become one EJpegError outside it.
#include "shared/ui/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace vur {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

// Level -1 is a warning about corrupt data; the picture would be damaged, so it ends the decoding too.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) OnError(info);
}

void Reserve(RgbImage& image, int width, int height) {
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
}

// Only plain C data lives in this frame, so leaving it by longjmp skips no destructor; `out` belongs to the
// caller and is sized here once the header is known.
bool DecodeInto(const std::uint8_t* data, std::size_t size, RgbImage& out, ErrorManager& errors) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxJpegSide || info.image_height > kMaxJpegSide) {
        std::snprintf(errors.message, sizeof errors.message, "Picture of %ux%u pixels is too large",
                      static_cast<unsigned>(info.image_width), static_cast<unsigned>(info.image_height));
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Reserve(out, static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

RgbImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) throw EJpegError("JPEG: Empty picture data");
    RgbImage image;
    ErrorManager errors;
    if (!DecodeInto(data, size, image, errors)) throw EJpegError(std::string("JPEG: ") + errors.message);
    return image;
}

} // namespace vur
