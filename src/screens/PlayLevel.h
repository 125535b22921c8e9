#pragma once
// The play-level layout that "SinglePlayer", "Multiplayer" and "Sandbox"
// share: one variable block, one copy step, one free step, the "Unload" that
// closes the pause state, the pause-menu rule, and the builder that turns the
// game's level grid into the level's objects.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/GameVariables.h"
#include "framework/LevelTemplate.h"
#include "objects/GameplayHooks.h"

class Engine;

// Set by the network-loss handlers just before they return to "MainMenu".
extern bool ConnectionDropped;
// Set when a level of a match's order could not be loaded; the main menu
// tells it once, as it tells a dropped connection.
extern bool LevelLoadFailed;

namespace PlayLevel {

struct Variables {
    std::vector<Object*> ObjectList;
    std::string levelName;
    bool Paused = false;
    std::vector<Engine*> EngineList;
    std::uint32_t startTime = 0;
    Object* camera = nullptr;
    // A pause or back control still held when the level starts is no new press.
    bool pausePressed = true;
    bool backPressed = true;
    // The menu's own close controls (pause without Enter) on the previous frame.
    bool closePressed = true;
};

using _DATA = LevelTemplate::Data<Variables>;

Variables& Vars(Entity* level);

// The controls the pause rule reads; tests replace them. pause opens the
// menu; menuPause (pause without Enter, which selects in the menu) and back
// close it.
struct Controls {
    bool (*pause)();
    bool (*back)();
    bool (*menuPause)();
    // A networked game runs: the world goes on under an open menu.
    bool (*networkGame)();
    // The match level's own back test: Escape, the pad's B or Back, and the
    // Wii remote's 1 only while the remote is in use.
    bool (*matchBack)();
};
extern Controls controls;
void ResetControls();

// Registers one play level under name: layout, copy and free steps, "PreLoad"
// (empty), "Load" = load, "Unload", "Update" = update; extra events are bound
// by the caller afterwards (before the variables, through the returned
// prototype's AddEvent).
_DATA* Register(const char* name, Event load, Event update);

// The builder's pieces, in the order a play level's "Load" runs them.
// Music: the level track, then the breaking and walking loops at volume 0.
void StartMusic();
// "Player_0" at (2, 2) with the level's start time; the level's list emptied.
Object* MakeLocalPlayer(Entity* level);
// Drawing tiles, grass, the objects of every cell, HUD image, backdrops.
// A networked match also makes the fake breakable terrains. afterRow, when
// given, runs after each row of the walk with the row's index.
void BuildFromGrid(Entity* level, bool networkedMatch, void (*afterRow)(int row) = nullptr);

// A network game runs on this machine: it hosts one or is linked to a server.
bool InNetworkGame();
// The local player's colour and name: a connected client sends them to the
// server under its id; otherwise they are kept in player slot 0, and a host
// sends them to every client under id 0.
void RegisterLocalPlayer(Object* player);
// In a network game the players arrive as network objects: the placeholder
// "Player_0" is renamed "OldPlayer", deleted and taken out of the level's list.
void RetireLocalPlayer(Entity* level);
// The diagnostic line of a confirmed connection to the server.
void LogServerConnected();

// The HUD moon, the three night-sky strips and the sky behind them, in the
// current state: what every play level puts behind its grid.
void SpawnSky();

// "Unload" of every play level.
void Unload(Entity* self, Entity* other);
// The pause-menu rule ("Update" of "SinglePlayer" and "Sandbox").
void PauseRule(Entity* self, Entity* other);
// The same rule with the given back control.
void PauseStep(Entity* level, bool back);

// Opening and closing the pause menu of the play level: the pause flags, the
// sound engine's pause, the menu's four objects, and (unless a networked game
// runs) the level standing still, only the menu, its how-to-play page, the
// focus manager and the fade running their update passes.
void OpenPauseMenu(Entity* level);
void ClosePauseMenu(Entity* level);

}  // namespace PlayLevel
