// The programs' side of vurjpeg.dll. The library is mapped only while a picture decodes: the few pictures
// of a window decode when it is made, and a library that hooked processes load must not leave a second
// module behind in them.
#include "shared/ui/jpeg_library_win32.h"

#include <windows.h>

#include "shared/handles_win32.h"
#include "shared/system_library_win32.h"

namespace vur {

RgbImage DecodeJpegWithLibrary(const std::string& folder, const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) throw EJpegError("JPEG: Empty picture data");
    const std::string path = folder + kJpegLibraryFileName;
    ScopedModule library(LoadLibraryA(path.c_str()));
    if (!library) throw EJpegLibraryMissing("JPEG: " + path + " cannot be loaded");
    DecodeJpegPictureFn decode = nullptr;
    if (!BindEntryPoint(library.Get(), kDecodeJpegPictureName, decode))
        throw EJpegLibraryMissing("JPEG: " + path + " has no " + kDecodeJpegPictureName);

    const auto bytes = static_cast<unsigned long>(size);
    char message[256] = "";
    long width = 0, height = 0;
    RgbImage image;
    int result = decode(data, bytes, nullptr, 0, &width, &height, message, sizeof message);
    if (result == kJpegNeedsBuffer) {
        if (width <= 0 || height <= 0 || width > kMaxJpegSide || height > kMaxJpegSide)
            throw EJpegError("JPEG: Picture has no usable size");
        image.width = static_cast<int>(width);
        image.height = static_cast<int>(height);
        image.pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
        result = decode(data, bytes, image.pixels.data(), static_cast<unsigned long>(image.pixels.size()), &width,
                        &height, message, sizeof message);
    }
    if (result != kJpegDecoded) throw EJpegError(message[0] ? message : "JPEG: Picture could not be decoded");
    return image;
}

} // namespace vur
