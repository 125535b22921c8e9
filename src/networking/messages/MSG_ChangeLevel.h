#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_ChangeLevel : public GeneralNetMessage<MSG_ChangeLevel> {
public:
    MSG_ChangeLevel() = default;
    MSG_ChangeLevel(const MSG_ChangeLevel&) = default;
    MSG_ChangeLevel& operator=(const MSG_ChangeLevel&) = default;

    void CallBack(NetEngine& engine) override;

    NetString levelName;
};

}  // namespace Networking::NetMessage
