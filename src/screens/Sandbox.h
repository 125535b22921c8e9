#pragma once
// "Sandbox": test play of the grid the level editor put into the game's
// basicLevel, alone or inside a running network game, with the pause menu;
// its goal and the pause menu's leave step return to the editor.
#include <string>

class Level;

namespace LevelData::Sandbox {

Level* _Init();

// The sync point of a test play inside a network game: "Level_" and the
// character '0' + CurrentLevelIndex.
std::string SyncName();

// The screen the goal and the pause menu's leave step go to: the level
// editor, or the main menu while no editor is registered.
const char* ReturnScreen();

// The network-engine call-backs the builder installs.
void OnClientJoined(char id);
void OnClientLeft(char id);
void OnConnected();
void OnServerLost();

}  // namespace LevelData::Sandbox
