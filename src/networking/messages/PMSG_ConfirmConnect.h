#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_ConfirmConnect : public GeneralNetMessage<PMSG_ConfirmConnect> {
public:
    PMSG_ConfirmConnect() = default;
    explicit PMSG_ConfirmConnect(std::uint32_t handshakeToken) { token = handshakeToken; }
    PMSG_ConfirmConnect(const PMSG_ConfirmConnect&) = default;
    PMSG_ConfirmConnect& operator=(const PMSG_ConfirmConnect&) = default;

    void CallBack(NetEngine& engine) override;
    // The number of the server's PMSG_SetClientID, echoed.
    NetUInt<0, 0xFFFFFFFFu> token;
};

}  // namespace Networking::PrivateNetMessage
