#pragma once
// "QuitWindow": the small dialog, in a window and state of its own, that the
// licence window's close button opens. Quit ends the program; Cancel closes
// only the dialog.
class Level;

namespace LevelData::QuitWindow {
extern const char* const kQuestion;
Level* _Init();
}  // namespace LevelData::QuitWindow
