#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A client's player colour and name, kept in the game's tables by client id.
class MSG_SetClientInfo : public GeneralNetMessage<MSG_SetClientInfo> {
public:
    MSG_SetClientInfo() = default;
    // Stores the colour and name on the sending copy too.
    MSG_SetClientInfo(unsigned int playerColor, const std::string& player, unsigned int client);
    MSG_SetClientInfo(const MSG_SetClientInfo&) = default;
    MSG_SetClientInfo& operator=(const MSG_SetClientInfo&) = default;

    void CallBack(NetEngine& engine) override;

    NetUInt<0, 15> clientId;
    NetUInt<0, 0xFFFFFFFFu> color;
    NetString playerName;

private:
    void Store() const;
};

}  // namespace Networking::NetMessage
