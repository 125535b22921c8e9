#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_SetRTT : public GeneralNetMessage<PMSG_SetRTT> {
public:
    PMSG_SetRTT() = default;
    explicit PMSG_SetRTT(unsigned int v) { rtt = v; }
    PMSG_SetRTT(const PMSG_SetRTT&) = default;
    PMSG_SetRTT& operator=(const PMSG_SetRTT&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 4095> rtt;
};

}  // namespace Networking::PrivateNetMessage
