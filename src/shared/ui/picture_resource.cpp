// From RCDATA bytes through vurjpeg.dll to a DIB section.
#include "shared/ui/picture_resource.h"

#include <cstring>
#include <string>

#include "shared/module_path_win32.h"
#include "shared/ui/jpeg_library_win32.h"

namespace vur::ui {

Bitmap BitmapFromImage(const RgbImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top row first, as the decoder delivers it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) throw vur::EVurError("Bitmap could not be created");
    // DIB rows are blue, green, red and padded to four bytes.
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~static_cast<size_t>(3);
    auto* out = static_cast<unsigned char*>(bits);
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* from = image.pixels.data() + static_cast<size_t>(y) * image.width * 3;
        unsigned char* to = out + static_cast<size_t>(y) * stride;
        for (int x = 0; x < image.width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    GdiFlush();
    return bitmap;
}

Bitmap LoadJpegResource(const char* name, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EJpegError(std::string("JPEG: Picture resource missing: ") + name);
    return BitmapFromImage(DecodeJpegWithLibrary(ModuleFolder(ThisModule()), static_cast<const std::uint8_t*>(data),
                                                 SizeofResource(module, found)));
}

} // namespace vur::ui
