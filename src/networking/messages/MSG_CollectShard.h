#pragma once
#include "networking/NetMessage.h"

class Entity;

namespace Networking::NetMessage {

// A moon shard was taken and follows its collector.
class MSG_CollectShard : public GeneralNetMessage<MSG_CollectShard> {
public:
    MSG_CollectShard() = default;
    explicit MSG_CollectShard(Entity* entity);
    MSG_CollectShard(const MSG_CollectShard&) = default;
    MSG_CollectShard& operator=(const MSG_CollectShard&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
