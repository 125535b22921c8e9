#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_ServerInfo : public GeneralNetMessage<MSG_ServerInfo> {
public:
    MSG_ServerInfo() = default;
    MSG_ServerInfo(const std::string& level, unsigned int players) {
        levelName = level;
        playerCount = players;
    }
    MSG_ServerInfo(const MSG_ServerInfo&) = default;
    MSG_ServerInfo& operator=(const MSG_ServerInfo&) = default;

    void CallBack(NetEngine& engine) override;

    NetString levelName;
    NetUInt<0, 16> playerCount;
};

}  // namespace Networking::NetMessage
