#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_LoadLevel : public GeneralNetMessage<MSG_LoadLevel> {
public:
    MSG_LoadLevel() = default;
    MSG_LoadLevel(const MSG_LoadLevel&) = default;
    MSG_LoadLevel& operator=(const MSG_LoadLevel&) = default;

    void CallBack(NetEngine& engine) override;

    NetString levelName;
};

}  // namespace Networking::NetMessage
