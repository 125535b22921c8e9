#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A checkpoint was reached: every player now respawns there.
class MSG_SetCheckPoint : public GeneralNetMessage<MSG_SetCheckPoint> {
public:
    MSG_SetCheckPoint() = default;
    explicit MSG_SetCheckPoint(const D3DXVECTOR2& at) { position = at; }
    MSG_SetCheckPoint(const MSG_SetCheckPoint&) = default;
    MSG_SetCheckPoint& operator=(const MSG_SetCheckPoint&) = default;

    void CallBack(NetEngine& engine) override;

    NetType<D3DXVECTOR2> position;
};

}  // namespace Networking::NetMessage
