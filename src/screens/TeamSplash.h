#pragma once
class Level;

// The two credit lines under the picture.
namespace LevelData::TeamSplash {
extern const char* const kDriverCredit;
extern const char* const kControllers;
Level* _Init();
}  // namespace LevelData::TeamSplash
