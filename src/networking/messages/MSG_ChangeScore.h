#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_ChangeScore : public GeneralNetMessage<MSG_ChangeScore> {
public:
    MSG_ChangeScore() = default;
    MSG_ChangeScore(const MSG_ChangeScore&) = default;
    MSG_ChangeScore& operator=(const MSG_ChangeScore&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> playerId;
    NetType<int> delta;
};

}  // namespace Networking::NetMessage
