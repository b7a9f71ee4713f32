// TStartcenter: the start center's window, five tiles that start the companion programs and the help pages.
#pragma once

#include "shared/ui/controls.h"
#include "shared/ui/heading.h"
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

    void CreateTile(int index);
    // The handlers every part of a tile leads to: the tile's picture and labels let the mouse through.
    void TileClick(int index);
    void TileMouseMove(int index);

    ui::Heading heading_;
    ui::Panel tileBox_;
    Tile tiles_[kTileCount];
    int highlighted_ = -1;
};

} // namespace vur::startcenter
