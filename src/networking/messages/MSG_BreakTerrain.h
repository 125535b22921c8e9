#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_BreakTerrain : public GeneralNetMessage<MSG_BreakTerrain> {
public:
    MSG_BreakTerrain() = default;
    MSG_BreakTerrain(const MSG_BreakTerrain&) = default;
    MSG_BreakTerrain& operator=(const MSG_BreakTerrain&) = default;

    void CallBack(NetEngine& engine) override;

    NetType<D3DXVECTOR2> cell;
};

}  // namespace Networking::NetMessage
