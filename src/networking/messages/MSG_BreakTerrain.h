#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A breakable terrain cell broke.
class MSG_BreakTerrain : public GeneralNetMessage<MSG_BreakTerrain> {
public:
    MSG_BreakTerrain() = default;
    // Breaks the cell on the sending copy too: marks the tile object
    // "Tile_<x><y>" broken, then breaks the grid cell (see Break).
    explicit MSG_BreakTerrain(D3DXVECTOR2 at);
    MSG_BreakTerrain(const MSG_BreakTerrain&) = default;
    MSG_BreakTerrain& operator=(const MSG_BreakTerrain&) = default;

    void CallBack(NetEngine& engine) override;

    // Sets the cell of the game's grid to the broken tile and has
    // "LevelGraphics" make debris there; nothing when the cell is broken
    // already or lies outside the grid.
    static void Break(D3DXVECTOR2 at);

    NetType<D3DXVECTOR2> cell;
};

}  // namespace Networking::NetMessage
