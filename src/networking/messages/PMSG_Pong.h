#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_Pong : public GeneralNetMessage<PMSG_Pong> {
public:
    PMSG_Pong() = default;
    explicit PMSG_Pong(unsigned short v) { pingNumber = v; }
    PMSG_Pong(const PMSG_Pong&) = default;
    PMSG_Pong& operator=(const PMSG_Pong&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 65535> pingNumber;
};

}  // namespace Networking::PrivateNetMessage
