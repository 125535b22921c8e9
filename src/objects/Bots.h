#pragma once
// The computer-driven player: "WanderBotAI" can take over the local player's
// controls (Alt+T) and steer it toward random targets with the game loop ten
// times as fast; "ExplorerBotAI" holds a bordered copy of the level grid;
// "SolverBotAI" holds the path solver's data. A bot steers only through the
// player's input variables and its "UpdateBehavior".
#include <cstdint>

#include "collision/SolverData.h"
#include "framework/LevelCollision.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::WanderBotAI {

struct Variables {
    // Off unless switched on: the bot's "Unload" hands the player back only
    // when it drives it.
    bool active = false;
    bool killedPlayerBehavior = false;
    bool wasCollidedLeft = false;
    bool wasCollidedRight = false;
    bool wasCollidedBottom = false;
    bool reachedX = false;
    bool wasDead = false;
    std::int32_t timeToNextTarget = 0;
    D3DXVECTOR2 AITarget{0.0f, 0.0f};
    D3DXVECTOR2 AIDirection{0.0f, 0.0f};
    Entity* AIPlayer = nullptr;
};
using _DATA = ObjectTemplate::Data<Variables>;
void Drive(Entity* self, Entity* other);
void GetNewTarget(Entity* self, Entity* other);
void _Init(Object*& slot);

}  // namespace ObjectData::WanderBotAI

namespace ObjectData::ExplorerBotAI {

struct Variables {
    std::int32_t* explorerGrid = nullptr;
    LevelCollision* levelCollision = nullptr;
};
using _DATA = ObjectTemplate::Data<Variables>;
void _Init(Object*& slot);

}  // namespace ObjectData::ExplorerBotAI

namespace ObjectData::SolverBotAI {

struct Variables {
    SolverData* solverData = nullptr;
};
using _DATA = ObjectTemplate::Data<Variables>;
void _Init(Object*& slot);

}  // namespace ObjectData::SolverBotAI
