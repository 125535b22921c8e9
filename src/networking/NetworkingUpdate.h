#pragma once
// The "NetworkingUpdate" engine: runs the network engine once per frame on
// the game thread, creates the players of a networked match and fades a match
// over to its next level.
#include <cstdint>

#include "framework/Engine.h"

namespace Networking {
class NetEngine;
}

namespace EngineData::NetworkingUpdate {

struct Variables {
    std::uint32_t lastTime = 0;  // TimeGetTime of the previous update
};

struct _DATA : public Engine {
    _DATA();
    Variables vars;
};

// The prototype, for the engine registry.
Engine* _Init();

// The network engine the handlers drive (the program's one by default).
Networking::NetEngine& Target();
void SetTarget(Networking::NetEngine* engine);

void Load(Entity* self, Entity* other);
void Update(Entity* self, Entity* other);
void CreatePlayers(Entity* self, Entity* other);
void FadeToNextLevel(Entity* self, Entity* other);
void FadedOutTemp(Entity* self, Entity* other);

}  // namespace EngineData::NetworkingUpdate
