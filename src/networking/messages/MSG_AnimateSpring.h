#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A spring launched a player: it plays its animation everywhere.
class MSG_AnimateSpring : public GeneralNetMessage<MSG_AnimateSpring> {
public:
    MSG_AnimateSpring() = default;
    explicit MSG_AnimateSpring(const std::string& springName) { name = springName; }
    MSG_AnimateSpring(const MSG_AnimateSpring&) = default;
    MSG_AnimateSpring& operator=(const MSG_AnimateSpring&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
};

}  // namespace Networking::NetMessage
