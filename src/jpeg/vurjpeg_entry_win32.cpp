// vurjpeg.dll: decodes the suite's JPEG pictures for the windowed programs. Built on the plain-C decoding
// alone, it carries no C++ runtime of its own.
#include "shared/ui/jpeg_library_win32.h"
#include "shared/ui/jpeg_pixels.h"

#include <windows.h>

#include <type_traits>

extern "C" __declspec(dllexport) int __stdcall DecodeJpegPicture(const unsigned char* data, unsigned long size,
                                                                 unsigned char* pixels, unsigned long capacity,
                                                                 long* width, long* height, char* message,
                                                                 unsigned long messageSize) {
    char reason[vur::kJpegMessageBytes];
    int w = 0, h = 0;
    const vur::JpegStep step = vur::DecodeJpegPixels(data, size, pixels, capacity, w, h, reason);
    if (width) *width = w;
    if (height) *height = h;
    if (step == vur::JpegStep::kDecoded) return vur::kJpegDecoded;
    if (step == vur::JpegStep::kNeedsBuffer) return vur::kJpegNeedsBuffer;
    if (message && messageSize) {
        unsigned long n = 0;
        for (; n + 1 < messageSize && reason[n]; ++n) message[n] = reason[n];
        message[n] = '\0';
    }
    return vur::kJpegFailed;
}

// The caller's pointer type, calling convention included, on either architecture.
static_assert(std::is_same_v<decltype(&DecodeJpegPicture), vur::DecodeJpegPictureFn>, "picture entry point");
