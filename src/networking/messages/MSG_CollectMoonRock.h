#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_CollectMoonRock : public GeneralNetMessage<MSG_CollectMoonRock> {
public:
    MSG_CollectMoonRock() = default;
    MSG_CollectMoonRock(const MSG_CollectMoonRock&) = default;
    MSG_CollectMoonRock& operator=(const MSG_CollectMoonRock&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
