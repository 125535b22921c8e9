#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_RemoveTerrain : public GeneralNetMessage<MSG_RemoveTerrain> {
public:
    MSG_RemoveTerrain() = default;
    MSG_RemoveTerrain(const MSG_RemoveTerrain&) = default;
    MSG_RemoveTerrain& operator=(const MSG_RemoveTerrain&) = default;

    void CallBack(NetEngine& engine) override;

    NetType<D3DXVECTOR2> cell;
};

}  // namespace Networking::NetMessage
