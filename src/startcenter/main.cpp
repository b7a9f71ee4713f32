// The start center's window: heading, tile box, hover highlight and the starts.
#include "startcenter/main.h"

#include "shared/ui/fonts.h"
#include "shared/ui/heading.h"
#include "shared/module_path_win32.h"
#include "shared/ui/shell.h"
#include "startcenter/tiles.h"

namespace vur::startcenter {

namespace {
constexpr int kClientWidth = 536, kClientHeight = 435;
constexpr int kBoxLeft = 24, kBoxTop = 88, kBoxWidth = 489, kBoxHeight = 327;
constexpr int kTileWidth = 487, kTileHeight = 65;
constexpr COLORREF kHover = RGB(186, 204, 173);
constexpr COLORREF kFrameGrey = RGB(96, 96, 96);
} // namespace

void TStartcenter::FormCreate() {
    CreateForm("VUR 3.5 Startcenter", kClientWidth, kClientHeight);
    heading_.Create(*this, kClientWidth, "Willkommen im Startcenter",
                    "Über das Startcenter erreichst Du bequem alle Funktionen von VUR 3.5.");
    tileBox_.CreateChild(*this, kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
    tileBox_.SetBackground(ui::kWhite);
    tileBox_.SetFrame(kFrameGrey);
    for (int i = 0; i < kTileCount; ++i) CreateTile(i);
    // All five start white; the highlight appears with the first hover.
    for (Tile& tile : tiles_) tile.panel.SetBackground(ui::kWhite);
}

void TStartcenter::CreateTile(int index) {
    const TileSpec& spec = kTiles[index];
    Tile& tile = tiles_[index];
    tile.panel.CreateChild(tileBox_, 1, 1 + index * kTileHeight, kTileWidth, kTileHeight);
    tile.panel.SetCursor(ui::HandCursor());
    tile.panel.onClick = [this, index] { TileClick(index); };
    tile.panel.onMouseMove = [this, index](int, int) { TileMouseMove(index); };
    tile.picture.CreateChild(tile.panel, 8, 8, 50, 50);
    ui::LoadPictureOrReport(tile.picture, spec.picture);
    tile.title.Create(tile.panel, spec.title, 64, 8, 409, 13, false);
    tile.title.SetFont(ui::FontStyle::Bold);
    tile.description.Create(tile.panel, spec.description, 64, 24, 409, 33);
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
