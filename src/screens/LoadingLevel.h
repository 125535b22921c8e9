#pragma once
// "LoadingLevel": the screen between the levels of a match. It moves the
// match on to the next entry of LevelOrder (the server loads its grid), brings
// every machine through the hand-over points "LoadingLevel" and "StartLevel",
// sends the grid to the clients and then every machine to "Multiplayer";
// after the last entry, to "GameResults".
#include <cstddef>
#include <string>

class Level;

namespace LevelData::LoadingLevel {

struct Variables {
    std::string levelName = "LoadingLevel";
};

Level* _Init();

// Loads entry index of the match's order into the game's basicLevel: a
// built-in grid by its number, a level file by its name (".lvl" added when
// missing). False when it does not load.
bool LoadEntry(std::size_t index);

// The server-lost call-back: "Connection dropped." on the main menu.
void OnServerLost();

}  // namespace LevelData::LoadingLevel
