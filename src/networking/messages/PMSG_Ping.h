#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_Ping : public GeneralNetMessage<PMSG_Ping> {
public:
    PMSG_Ping() = default;
    explicit PMSG_Ping(unsigned short v) { pingNumber = v; }
    PMSG_Ping(const PMSG_Ping&) = default;
    PMSG_Ping& operator=(const PMSG_Ping&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 65535> pingNumber;
};

}  // namespace Networking::PrivateNetMessage
