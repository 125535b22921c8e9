#pragma once
// "HowToPlayScreen": the page of controls and a button back to the main menu.
class Level;

namespace LevelData::HowToPlayScreen {
Level* _Init();
}
