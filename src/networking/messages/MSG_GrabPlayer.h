#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_GrabPlayer : public GeneralNetMessage<MSG_GrabPlayer> {
public:
    MSG_GrabPlayer() = default;
    MSG_GrabPlayer(const MSG_GrabPlayer&) = default;
    MSG_GrabPlayer& operator=(const MSG_GrabPlayer&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> grabberId;
    NetUInt<0, 15> grabbedId;
};

}  // namespace Networking::NetMessage
