#include "networking/GameLink.h"

#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "networking/NetEngine.h"

namespace Networking {

std::string PlayerObjectName(unsigned int number) { return std::string("Player_") + char('0' + (number & 0x3F)); }

Entity* FindPlayer(unsigned int number) { return FindEntity(PlayerObjectName(number)); }

Entity* FindEntity(const std::string& name) { return Entity::FindByName(name.c_str()); }

Object* MakeNetObject(const std::string& type, const std::string& name) {
    State* state = State::_currentState;
    if (state != nullptr && !name.empty()) {
        for (Object* old : state->Objects()) {
            if (old == nullptr || old->_Deleted() || old->GetName() != name) continue;
            old->SetName("");
            old->_Delete();
        }
    }
    return Object::MakeCopy(state, type, name.c_str());
}

GameData::TheGame::GameVariables* GameVariablesOrNull() {
    Game* game = GetMyGame();
    if (game == nullptr || game->_startVar == nullptr) return nullptr;
    return &GameVars();
}

void Relay(NetEngine& engine, BaseNetMessage& message, bool reliable) {
    if (engine.IsServer()) engine.ForwardMessageFrom(message.sender, message, reliable);
}

}  // namespace Networking
