#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_DeleteObj : public GeneralNetMessage<MSG_DeleteObj> {
public:
    MSG_DeleteObj() = default;
    MSG_DeleteObj(const MSG_DeleteObj&) = default;
    MSG_DeleteObj& operator=(const MSG_DeleteObj&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
