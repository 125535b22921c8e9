#pragma once
#include "networking/NetMessage.h"

class Entity;

namespace Networking::NetMessage {

// A moon shard was collected and breaks into pieces ("Explode").
class MSG_CollectMoonRock : public GeneralNetMessage<MSG_CollectMoonRock> {
public:
    MSG_CollectMoonRock() = default;
    explicit MSG_CollectMoonRock(Entity* entity);
    MSG_CollectMoonRock(const MSG_CollectMoonRock&) = default;
    MSG_CollectMoonRock& operator=(const MSG_CollectMoonRock&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
