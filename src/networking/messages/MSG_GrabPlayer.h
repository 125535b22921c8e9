#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// One player grabbed another.
class MSG_GrabPlayer : public GeneralNetMessage<MSG_GrabPlayer> {
public:
    MSG_GrabPlayer() = default;
    MSG_GrabPlayer(unsigned int grabber, unsigned int grabbed) {
        grabberId = grabber;
        grabbedId = grabbed;
    }
    MSG_GrabPlayer(const MSG_GrabPlayer&) = default;
    MSG_GrabPlayer& operator=(const MSG_GrabPlayer&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> grabberId;
    NetUInt<0, 15> grabbedId;
};

}  // namespace Networking::NetMessage
