#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_Explode : public GeneralNetMessage<MSG_Explode> {
public:
    MSG_Explode() = default;
    MSG_Explode(const MSG_Explode&) = default;
    MSG_Explode& operator=(const MSG_Explode&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
    NetType<D3DXVECTOR2> splatOffset;
    NetType<D3DXVECTOR2> position;
};

}  // namespace Networking::NetMessage
