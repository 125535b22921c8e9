#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A grab ended: the holder lets go.
class MSG_CancelGrab : public GeneralNetMessage<MSG_CancelGrab> {
public:
    MSG_CancelGrab() = default;
    MSG_CancelGrab(unsigned int grabber, unsigned int grabbed) {
        grabberId = grabber;
        grabbedId = grabbed;
    }
    MSG_CancelGrab(const MSG_CancelGrab&) = default;
    MSG_CancelGrab& operator=(const MSG_CancelGrab&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> grabberId;
    NetUInt<0, 15> grabbedId;
};

}  // namespace Networking::NetMessage
