// JPEG pictures stored as RCDATA resources of a program, turned into bitmaps for Picture windows.
#pragma once

#include <windows.h>

#include "shared/ui/gdi.h"
#include "shared/ui/jpeg.h"

namespace vur::ui {

// The suite's shared heading pictures, which vur_window_resources() puts into every program.
constexpr const char* kLogoResource = "VUR_LOGO";
constexpr const char* kStripResource = "VUR_STRIP";
// The suite's icon (shield), resource number 1 of every program: the window class and the tray use it.
constexpr int kIconResource = 1;

// A 24-bit device-independent bitmap with the image's pixels.
Bitmap BitmapFromImage(const RgbImage& image);

// Decodes the RCDATA resource `name` of `module` (nullptr: the program); throws EJpegError when it is missing
// or does not decode.
Bitmap LoadJpegResource(const char* name, HMODULE module = nullptr);

} // namespace vur::ui
