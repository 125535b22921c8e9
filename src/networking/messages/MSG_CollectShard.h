#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_CollectShard : public GeneralNetMessage<MSG_CollectShard> {
public:
    MSG_CollectShard() = default;
    MSG_CollectShard(const MSG_CollectShard&) = default;
    MSG_CollectShard& operator=(const MSG_CollectShard&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
