#pragma once
#include <list>

#include "framework/Entity.h"

class Engine;

// What the game entity's own "Update" needs from the input and device layers;
// a null hook is skipped.
struct GameHooks {
    void (*takeInput)() = nullptr;                 // under the input lock, the pending keyboard and mouse blocks
    bool (*keyTriggered)(int scanCode) = nullptr;  // the key went down this frame
    void (*rumble)(int milliseconds) = nullptr;    // pad and Wii remote
};

// The one game-wide entity: the data shared across levels, the game-wide
// engines, and the maps used when no state is current.
class Game : public Entity {
public:
    explicit Game(int byteSize);
    ~Game() override;

    static void _FirstInit();
    static void Load();
    static void Update();
    static void Unload();
    void ClearEngines();
    // Destroys the game entity (start-up makes it once; tests make it afresh).
    static void _Shutdown();

    std::list<Engine*> engines;
    bool priorityChanged = false;
    EntityMap entities;
    SubscriberMap subscribers;

    // The input layer's keyboard, hand-over and pad; tests put in their own.
    // The input layer sets the defaults (and the hooks) before main.
    static GameHooks DefaultHooks();
    static void SetDefaultHooks(const GameHooks& defaults);
    static GameHooks hooks;
};
