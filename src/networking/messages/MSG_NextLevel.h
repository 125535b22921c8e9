#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_NextLevel : public GeneralNetMessage<MSG_NextLevel> {
public:
    MSG_NextLevel() = default;
    MSG_NextLevel(const MSG_NextLevel&) = default;
    MSG_NextLevel& operator=(const MSG_NextLevel&) = default;

    void CallBack(NetEngine& engine) override;
};

}  // namespace Networking::NetMessage
