#pragma once
#include "networking/NetMessage.h"

namespace Networking::PrivateNetMessage {

class PMSG_ConfirmConnect : public GeneralNetMessage<PMSG_ConfirmConnect> {
public:
    PMSG_ConfirmConnect() = default;
    PMSG_ConfirmConnect(const PMSG_ConfirmConnect&) = default;
    PMSG_ConfirmConnect& operator=(const PMSG_ConfirmConnect&) = default;

    void CallBack(NetEngine& engine) override;
};

}  // namespace Networking::PrivateNetMessage
