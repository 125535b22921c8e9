#pragma once
class Level;

namespace LevelData::HalvernSplash {
Level* _Init();
}
