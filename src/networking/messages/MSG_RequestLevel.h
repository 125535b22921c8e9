#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A client in "LoadingLevel" asks the server for the level to play.
class MSG_RequestLevel : public GeneralNetMessage<MSG_RequestLevel> {
public:
    MSG_RequestLevel() = default;
    explicit MSG_RequestLevel(bool start) { startMatch = start; }
    MSG_RequestLevel(const MSG_RequestLevel&) = default;
    MSG_RequestLevel& operator=(const MSG_RequestLevel&) = default;

    void CallBack(NetEngine& engine) override;

    NetBool startMatch;
};

}  // namespace Networking::NetMessage
