#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A player's score changes by delta.
class MSG_ChangeScore : public GeneralNetMessage<MSG_ChangeScore> {
public:
    MSG_ChangeScore() = default;
    MSG_ChangeScore(unsigned int player, int change) {
        playerId = player;
        delta = change;
    }
    MSG_ChangeScore(const MSG_ChangeScore&) = default;
    MSG_ChangeScore& operator=(const MSG_ChangeScore&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> playerId;
    NetType<int> delta;
};

}  // namespace Networking::NetMessage
