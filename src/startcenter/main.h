// TStartcenter: the start center's window, five tiles that start the companion programs and the help pages.
#pragma once

#include "shared/ui/controls.h"
#include "shared/ui/window.h"

namespace vur::startcenter {

constexpr int kTileCount = 5;

class TStartcenter : public ui::Window {
public:
    // Creates the window with every component, all tiles white; shown by the message loop.
    void FormCreate();

private:
    struct Tile {
        ui::Panel panel;
        ui::Picture picture;
        ui::Label title;
        ui::Label description;
    };

    void CreateHeading();
    void CreateTile(int index);
    void LoadPicture(ui::Picture& picture, const char* resource);
    // The handlers every part of a tile leads to: the tile's picture and labels let the mouse through.
    void TileClick(int index);
    void TileMouseMove(int index);

    ui::Panel Panel1; // heading
    ui::Label Label1;
    ui::Label Label2;
    ui::Picture Image1; // logo
    ui::Picture Image2; // strip
    ui::Panel tileBox_;
    Tile tiles_[kTileCount];
    int highlighted_ = -1;
};

} // namespace vur::startcenter
