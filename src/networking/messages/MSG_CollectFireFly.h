#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_CollectFireFly : public GeneralNetMessage<MSG_CollectFireFly> {
public:
    MSG_CollectFireFly() = default;
    MSG_CollectFireFly(const MSG_CollectFireFly&) = default;
    MSG_CollectFireFly& operator=(const MSG_CollectFireFly&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
    NetType<int> color;
    NetType<D3DXVECTOR2> position;
};

}  // namespace Networking::NetMessage
