#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// Tells a joining client that a terrain cell is already gone (broken tile).
// The sender fills cell with the grid cell to remove.
class MSG_RemoveTerrain : public GeneralNetMessage<MSG_RemoveTerrain> {
public:
    MSG_RemoveTerrain() = default;
    explicit MSG_RemoveTerrain(D3DXVECTOR2 at) { cell = at; }
    MSG_RemoveTerrain(const MSG_RemoveTerrain&) = default;
    MSG_RemoveTerrain& operator=(const MSG_RemoveTerrain&) = default;

    void CallBack(NetEngine& engine) override;

    NetType<D3DXVECTOR2> cell;
};

}  // namespace Networking::NetMessage
