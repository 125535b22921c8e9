#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_SetClientID : public GeneralNetMessage<PMSG_SetClientID> {
public:
    PMSG_SetClientID() = default;
    explicit PMSG_SetClientID(unsigned char v, std::uint32_t handshakeToken = 0) {
        clientId = v;
        token = handshakeToken;
    }
    PMSG_SetClientID(const PMSG_SetClientID&) = default;
    PMSG_SetClientID& operator=(const PMSG_SetClientID&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 255> clientId;
    // A number the server chose for this address alone: the client's
    // confirmation carries it back, which proves the address receives.
    NetUInt<0, 0xFFFFFFFFu> token;
};

}  // namespace Networking::PrivateNetMessage
