#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_SetCheckPoint : public GeneralNetMessage<MSG_SetCheckPoint> {
public:
    MSG_SetCheckPoint() = default;
    MSG_SetCheckPoint(const MSG_SetCheckPoint&) = default;
    MSG_SetCheckPoint& operator=(const MSG_SetCheckPoint&) = default;

    void CallBack(NetEngine& engine) override;

    NetType<D3DXVECTOR2> position;
};

}  // namespace Networking::NetMessage
