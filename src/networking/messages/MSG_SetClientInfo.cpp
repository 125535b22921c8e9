#include "networking/messages/MSG_SetClientInfo.h"

#include "framework/GameVariables.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_SetClientInfo::MSG_SetClientInfo(unsigned int playerColor, const std::string& player, unsigned int client) {
    color = playerColor;
    playerName = player;
    clientId = client & 15u;
    Store();
}

void MSG_SetClientInfo::Store() const {
    auto* game = GameVariablesOrNull();
    if (game == nullptr) return;
    const unsigned int slot = clientId.value & 15u;
    game->playerColors[slot] = static_cast<std::int32_t>(color.value);
    game->playerNames[slot] = playerName;
}

void MSG_SetClientInfo::CallBack(NetEngine& engine) {
    Store();
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
