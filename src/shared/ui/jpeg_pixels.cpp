// libjpeg behind DecodeJpegPixels: its errors leave it by longjmp and become a message.
#include "shared/ui/jpeg_pixels.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h names FILE

#include <jpeglib.h>

namespace vur {

namespace {

constexpr char kPrefix[] = "JPEG: ";
static_assert(sizeof kPrefix - 1 + JMSG_LENGTH_MAX <= kJpegMessageBytes, "room for libjpeg's messages");

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char* message; // kJpegMessageBytes
};

// Appends `text` to the zero-terminated `message`, cut to fit.
void Append(char* message, const char* text) {
    std::size_t at = 0;
    while (message[at]) ++at;
    for (; *text && at + 1 < kJpegMessageBytes; ++text) message[at++] = *text;
    message[at] = '\0';
}

void AppendNumber(char* message, unsigned value) {
    char text[12];
    char* at = text + sizeof text - 1;
    *at = '\0';
    do {
        *--at = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    Append(message, at);
}

[[noreturn]] void OnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    Append(errors->message, text);
    std::longjmp(errors->escape, 1);
}

// Level -1 is a warning about corrupt data; the picture would be damaged, so it ends the decoding too.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) OnError(info);
}

} // namespace

// Only plain C data lives in this frame, so leaving it by longjmp skips no destructor.
JpegStep DecodeJpegPixels(const std::uint8_t* data, std::size_t size, std::uint8_t* pixels, std::size_t capacity,
                          int& width, int& height, char* message) {
    message[0] = '\0';
    Append(message, kPrefix);
    width = height = 0;
    if (data == nullptr || size == 0) {
        Append(message, "Empty picture data");
        return JpegStep::kFailed;
    }
    jpeg_decompress_struct info;
    ErrorManager errors;
    errors.message = message;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return JpegStep::kFailed;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kMaxJpegSide || info.image_height > kMaxJpegSide) {
        Append(message, "Picture of ");
        AppendNumber(message, info.image_width);
        Append(message, "x");
        AppendNumber(message, info.image_height);
        Append(message, " pixels is too large");
        jpeg_destroy_decompress(&info);
        return JpegStep::kFailed;
    }
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    if (pixels == nullptr || capacity < stride * info.output_height) {
        jpeg_destroy_decompress(&info);
        return JpegStep::kNeedsBuffer;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    message[0] = '\0';
    return JpegStep::kDecoded;
}

} // namespace vur
