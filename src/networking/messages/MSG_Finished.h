#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_Finished : public GeneralNetMessage<MSG_Finished> {
public:
    MSG_Finished() = default;
    MSG_Finished(const MSG_Finished&) = default;
    MSG_Finished& operator=(const MSG_Finished&) = default;

    void CallBack(NetEngine& engine) override;
};

}  // namespace Networking::NetMessage
