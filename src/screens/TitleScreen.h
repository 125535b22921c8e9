#pragma once
class Level;

namespace LevelData::TitleScreen {
Level* _Init();
}
