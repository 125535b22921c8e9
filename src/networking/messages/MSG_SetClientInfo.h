#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_SetClientInfo : public GeneralNetMessage<MSG_SetClientInfo> {
public:
    MSG_SetClientInfo() = default;
    MSG_SetClientInfo(const MSG_SetClientInfo&) = default;
    MSG_SetClientInfo& operator=(const MSG_SetClientInfo&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> clientId;
    NetUInt<0, 0xFFFFFFFFu> color;
    NetString playerName;
};

}  // namespace Networking::NetMessage
