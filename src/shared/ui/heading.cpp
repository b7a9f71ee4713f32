// The programs' heading panel.
#include "shared/ui/heading.h"

#include <exception>

#include "shared/ui/application.h"
#include "shared/ui/fonts.h"
#include "shared/ui/jpeg_library_win32.h"
#include "shared/ui/picture_resource.h"

namespace vur::ui {

namespace {
constexpr int kLogoWidth = 150, kStripHeight = 16;
}

void Heading::Create(Window& form, int clientWidth, const std::string& title, const std::string& text) {
    panel_.CreateChild(form, 0, 0, clientWidth, kHeight);
    panel_.SetBackground(kWhite);
    title_.Create(panel_, title, 0, 0, 0, 0, false);
    title_.SetFont(FontStyle::Bold);
    text_.Create(panel_, text, 0, 0, 0, 0, false);
    strip_.CreateChild(panel_, 0, 0, 0, 0);
    LoadPictureOrReport(strip_, kStripResource);
    logo_.CreateChild(panel_, 0, 0, 0, 0);
    LoadPictureOrReport(logo_, kLogoResource);
    Place(clientWidth);
}

// The strip runs along the bottom edge up to the logo, whose own lower band continues it.
void Heading::Place(int clientWidth) {
    panel_.SetBounds(0, 0, clientWidth, kHeight);
    title_.SetBounds(8, 8, clientWidth - kLogoWidth - 8, 13);
    text_.SetBounds(8, 24, clientWidth - kLogoWidth - 8, 13);
    strip_.SetBounds(0, kHeight - kStripHeight, clientWidth - kLogoWidth, kStripHeight);
    logo_.SetBounds(clientWidth - kLogoWidth, 0, kLogoWidth, kHeight);
}

void Heading::Focus() { SetFocus(panel_.hwnd()); }

void LoadPictureOrReport(Picture& picture, const char* resource) {
    // Without the picture library no picture of the process can show: that is told once, not per picture.
    static bool libraryMissingTold = false;
    try {
        picture.SetBitmap(LoadJpegResource(resource));
    } catch (const EJpegLibraryMissing& e) {
        if (!libraryMissingTold) ShowErrorBox(e.what());
        libraryMissingTold = true;
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
}

} // namespace vur::ui
