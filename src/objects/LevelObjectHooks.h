#pragma once
// What the level goal and the checkpoints tell the other machines of a
// networked match, through replaceable functions (tests watch them; the
// defaults go to the network engine, which drops them while unconnected).
#include "framework/Vector.h"

class Entity;

struct LevelObjectHooks {
    void (*sendSetCheckPoint)(const D3DXVECTOR2& position);  // reliable, queued
    void (*sendNextLevel)();                                 // reliable, queued
    bool (*isServer)();                                      // this machine hosts the match
    // The server's hand-over point "LoadingLevel", raising "NextLevel".
    void (*addNextLevelSync)();
    // A player's finish, to every other machine (reliable).
    void (*sendFinished)();
    // A player's creation message, type "Player", to the client that just joined (reliable).
    void (*sendCreateToNewClient)(Entity* player);
};

extern LevelObjectHooks levelObjectHooks;
void ResetLevelObjectHooks();
