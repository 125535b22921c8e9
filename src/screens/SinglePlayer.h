#pragma once
// "SinglePlayer": one built-in level played alone, with the two bots and the
// pause menu. CurrentLevelIndex picks the level; the goal moves play on.
#include <array>

class Level;

// The built-in levels in play order; index n is built-in grid n.
extern const std::array<const char*, 13> BuiltInLevelNames;

namespace LevelData::SinglePlayer {
Level* _Init();
}
