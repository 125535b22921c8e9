#include "networking/messages/MSG_BreakTerrain.h"

#include <cmath>

#include "framework/GameVariables.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

namespace {
// The tile object's character for a coordinate: '0' plus the coordinate
// truncated towards zero. False for a value no cell can have.
bool TileChar(float f, char& out) {
    if (!(std::fabs(f) < 4096.0f)) return false;  // also false for NaN
    out = static_cast<char>('0' + static_cast<int>(f));
    return true;
}
}  // namespace

MSG_BreakTerrain::MSG_BreakTerrain(D3DXVECTOR2 at) {
    cell = at;
    char x = 0, y = 0;
    if (TileChar(at.x, x) && TileChar(at.y, y)) {
        std::string tileName = std::string("Tile_") + x + "x" + y;
        if (bool* broken = Var<bool>(FindEntity(tileName), enum_broken)) *broken = true;
    }
    Break(at);
}

void MSG_BreakTerrain::Break(D3DXVECTOR2 at) {
    auto* game = GameVariablesOrNull();
    if (game == nullptr) return;
    LevelCollision& grid = game->basicLevel;
    const int current = grid.GetCell(at);
    // -1: outside the grid (or not a number); nothing to break and no debris.
    if (current == -1 || current == LevelCellValue::BrokenTile) return;
    grid.SetCell(at, LevelCellValue::BrokenTile);
    if (Entity* graphics = FindEntity("LevelGraphics")) {
        if (auto* newBreak = Var<D3DXVECTOR2>(graphics, enum_newBreak)) *newBreak = at;
        graphics->DoEvent("AddParticles");
    }
}

void MSG_BreakTerrain::CallBack(NetEngine& engine) {
    Break(cell.value);
    // Passed on whether or not the cell was broken here already.
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
