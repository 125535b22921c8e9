#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_AnimateSpring : public GeneralNetMessage<MSG_AnimateSpring> {
public:
    MSG_AnimateSpring() = default;
    MSG_AnimateSpring(const MSG_AnimateSpring&) = default;
    MSG_AnimateSpring& operator=(const MSG_AnimateSpring&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
