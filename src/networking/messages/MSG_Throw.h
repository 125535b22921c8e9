#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_Throw : public GeneralNetMessage<MSG_Throw> {
public:
    MSG_Throw() = default;
    MSG_Throw(const MSG_Throw&) = default;
    MSG_Throw& operator=(const MSG_Throw&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 8> playerId;
    NetBool throwRight;
};

}  // namespace Networking::NetMessage
