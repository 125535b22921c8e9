#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A server's description in its discovery reply: the level being played
// (CurrentLevelName) and the number of players, the server included. The
// engine's default server-information writer fills it. The default
// constructor leaves it empty: it also builds received messages, which may
// happen on the receive thread, where the match globals must not be read.
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
