#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_Ack : public GeneralNetMessage<PMSG_Ack> {
public:
    PMSG_Ack() = default;
    explicit PMSG_Ack(unsigned short v) { sequence = v; }
    PMSG_Ack(const PMSG_Ack&) = default;
    PMSG_Ack& operator=(const PMSG_Ack&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 65535> sequence;
};

}  // namespace Networking::PrivateNetMessage
