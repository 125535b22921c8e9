#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_DropObj : public GeneralNetMessage<MSG_DropObj> {
public:
    MSG_DropObj() = default;
    MSG_DropObj(const MSG_DropObj&) = default;
    MSG_DropObj& operator=(const MSG_DropObj&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
