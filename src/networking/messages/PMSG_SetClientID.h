#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_SetClientID : public GeneralNetMessage<PMSG_SetClientID> {
public:
    PMSG_SetClientID() = default;
    explicit PMSG_SetClientID(unsigned char v) { clientId = v; }
    PMSG_SetClientID(const PMSG_SetClientID&) = default;
    PMSG_SetClientID& operator=(const PMSG_SetClientID&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 255> clientId;
};

}  // namespace Networking::PrivateNetMessage
