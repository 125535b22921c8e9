#pragma once
// "SinglePlayerMenu": where the main menu's Singleplayer leads. "Continue"
// plays the first built-in level not yet finished, "New Game" the first
// (the records stay), and the list of the 13 levels lets the player choose
// any level reached so far, each line with its records; a level not reached
// yet is listed dimmed and cannot be chosen. Keyboard, pad and pointer work
// it through the focus manager (a first direction focuses "Continue");
// "Main Menu" or the back input returns.
class Level;

namespace LevelData::SinglePlayerMenu {

// The names of the screen's buttons: "Continue", "NewGame", "BackToMainMenu", and
// "Level_<n>" for built-in level n - 1 (only for the levels reached).
const char* const kContinue = "Continue";
const char* const kNewGame = "NewGame";
const char* const kBack = "BackToMainMenu";

Level* _Init();

}  // namespace LevelData::SinglePlayerMenu
