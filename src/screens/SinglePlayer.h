#pragma once
// "SinglePlayer": one built-in level played alone, with the two bots and the
// pause menu. CurrentLevelIndex picks the level; the goal moves play on.
#include "framework/BuiltInLevels.h"

class Level;

namespace LevelData::SinglePlayer {
Level* _Init();
}
