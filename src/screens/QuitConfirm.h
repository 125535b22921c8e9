#pragma once
// "QuitConfirm": the full-screen question before the program ends. Quit
// fades out and closes the state; Continue, or a new press of pause or back,
// fades back to the main menu.
class Level;

namespace LevelData::QuitConfirm {
Level* _Init();
}
