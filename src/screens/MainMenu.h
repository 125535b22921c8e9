#pragma once
// "MainMenu": the hub of the game. Its buttons appear as the screens they
// lead to are registered.
class Level;

namespace LevelData::MainMenu {
Level* _Init();
}
