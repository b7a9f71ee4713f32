// The start center's window: heading, tile box, hover highlight and the starts.
#include "startcenter/main.h"

#include <exception>

#include "shared/ui/application.h"
#include "shared/ui/fonts.h"
#include "shared/ui/picture_resource.h"
#include "shared/module_path.h"
#include "shared/ui/shell.h"
#include "startcenter/tiles.h"

namespace vur::startcenter {

namespace {
constexpr int kClientWidth = 536, kClientHeight = 435;
constexpr int kHeadingHeight = 65, kLogoWidth = 150, kStripHeight = 16;
constexpr int kBoxLeft = 24, kBoxTop = 88, kBoxWidth = 489, kBoxHeight = 327;
constexpr int kTileWidth = 487, kTileHeight = 65;
constexpr COLORREF kHover = RGB(186, 204, 173);
constexpr COLORREF kFrameGrey = RGB(96, 96, 96);
} // namespace

void TStartcenter::FormCreate() {
    CreateForm("VUR 3.5 Startcenter", kClientWidth, kClientHeight);
    CreateHeading();
    tileBox_.CreateChild(*this, kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
    tileBox_.SetBackground(ui::kWhite);
    tileBox_.SetFrame(kFrameGrey);
    for (int i = 0; i < kTileCount; ++i) CreateTile(i);
    // All five start white; the highlight appears with the first hover.
    for (Tile& tile : tiles_) tile.panel.SetBackground(ui::kWhite);
}

void TStartcenter::CreateHeading() {
    Panel1.CreateChild(*this, 0, 0, kClientWidth, kHeadingHeight);
    Panel1.SetBackground(ui::kWhite);
    Label1.Create(Panel1, "Willkommen im Startcenter", 8, 8, kClientWidth - kLogoWidth - 8, 13, false);
    Label1.SetFont(ui::FontStyle::Bold);
    Label2.Create(Panel1, "Über das Startcenter erreichst Du bequem alle Funktionen von VUR 3.5.", 8, 24,
                  kClientWidth - kLogoWidth - 8, 13, false);
    // The strip runs along the bottom edge up to the logo, whose own lower band continues it.
    Image2.CreateChild(Panel1, 0, kHeadingHeight - kStripHeight, kClientWidth - kLogoWidth, kStripHeight);
    LoadPicture(Image2, ui::kStripResource);
    Image1.CreateChild(Panel1, kClientWidth - kLogoWidth, 0, kLogoWidth, kHeadingHeight);
    LoadPicture(Image1, ui::kLogoResource);
}

void TStartcenter::CreateTile(int index) {
    const TileSpec& spec = kTiles[index];
    Tile& tile = tiles_[index];
    tile.panel.CreateChild(tileBox_, 1, 1 + index * kTileHeight, kTileWidth, kTileHeight);
    tile.panel.SetCursor(ui::HandCursor());
    tile.panel.onClick = [this, index] { TileClick(index); };
    tile.panel.onMouseMove = [this, index](int, int) { TileMouseMove(index); };
    tile.picture.CreateChild(tile.panel, 8, 8, 50, 50);
    LoadPicture(tile.picture, spec.picture);
    tile.title.Create(tile.panel, spec.title, 64, 8, 409, 13, false);
    tile.title.SetFont(ui::FontStyle::Bold);
    tile.description.Create(tile.panel, spec.description, 64, 24, 409, 33);
}

// A picture that does not decode leaves its place empty; the window works without it.
void TStartcenter::LoadPicture(ui::Picture& picture, const char* resource) {
    try {
        picture.SetBitmap(ui::LoadJpegResource(resource));
    } catch (const std::exception& e) {
        ui::ShowErrorBox(e.what());
    }
}

void TStartcenter::TileClick(int index) {
    // The shell reports its own failures, if any; the start center says nothing and stays as it is.
    ui::OpenWithShell(hwnd(), vur::ModuleFolder(nullptr) + kTiles[index].path, SW_SHOWNORMAL);
}

void TStartcenter::TileMouseMove(int index) {
    if (index == highlighted_) return;
    highlighted_ = index;
    for (int i = 0; i < kTileCount; ++i) tiles_[i].panel.SetBackground(i == index ? kHover : ui::kWhite);
}

} // namespace vur::startcenter
