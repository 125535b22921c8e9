#pragma once
// What the level goal and the checkpoints tell the other machines of a
// networked match, through replaceable functions (tests watch them; the
// defaults go to the network engine, which drops them while unconnected).
#include "framework/Vector.h"

struct LevelObjectHooks {
    void (*sendSetCheckPoint)(const D3DXVECTOR2& position);  // reliable, queued
    void (*sendNextLevel)();                                 // reliable, queued
    bool (*isServer)();                                      // this machine hosts the match
    // The server's synchronisation point "NextLevel" with event "LoadingLevel".
    void (*addNextLevelSync)();
};

extern LevelObjectHooks levelObjectHooks;
void ResetLevelObjectHooks();
