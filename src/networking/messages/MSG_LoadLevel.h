#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// The server moves every client to the next screen of the match.
class MSG_LoadLevel : public GeneralNetMessage<MSG_LoadLevel> {
public:
    MSG_LoadLevel() = default;
    explicit MSG_LoadLevel(const std::string& level) { levelName = level; }
    MSG_LoadLevel(const MSG_LoadLevel&) = default;
    MSG_LoadLevel& operator=(const MSG_LoadLevel&) = default;

    void CallBack(NetEngine& engine) override;

    NetString levelName;
};

}  // namespace Networking::NetMessage
