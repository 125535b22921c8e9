#pragma once
// What the game messages' callbacks share: finding the entities a message
// names, reaching their script variables, the game entity's variables, and
// the server's relay to the other clients.
#include <string>

#include "framework/Entity.h"
#include "framework/Variables.h"

class Object;

namespace GameData::TheGame {
struct GameVariables;
}

namespace Networking {

class NetEngine;
class BaseNetMessage;

// Player objects are named "Player_" and one character, the code of '0'
// plus the player number ('0' to '9', then ':' to '?' for 10 to 15).
std::string PlayerObjectName(unsigned int number);

// The player object of a number, or null.
Entity* FindPlayer(unsigned int number);

// The entity of that name in the current state (else the game entity's), or null.
Entity* FindEntity(const std::string& name);

// A networked object of that type made under that name in the current state.
// An object of the state already under that name (the player of a client
// that left, whose id a joiner now has) is taken away first: one name, one
// object, so the messages about it reach the new one.
Object* MakeNetObject(const std::string& type, const std::string& name);

// Variable number of an entity, or null when there is no entity or its type
// has no such variable: every step on an absent one is skipped.
template <class T>
T* Var(Entity* entity, int number) {
    return entity != nullptr ? FindVariable<T>(entity, number) : nullptr;
}

// The game entity's variables, or null while there is no game entity.
GameData::TheGame::GameVariables* GameVariablesOrNull();

// A relayed message's last step: the server queues it for every connected
// peer but its sender; a client never passes a message on.
void Relay(NetEngine& engine, BaseNetMessage& message, bool reliable);

}  // namespace Networking
