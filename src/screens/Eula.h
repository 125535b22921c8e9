#pragma once
// "Eula": the licence agreement, the first screen of the first state. Accept
// goes on to the splashes; Decline, Escape or the window's close button
// (through the quit dialog) end the program.
class Level;

namespace LevelData::Eula {
extern const char* const kLicence;
// The program's main window, which the licence gives its size and shape and
// the screens after it share.
constexpr int kWidth = 853;
constexpr int kHeight = 480;
constexpr float kResolution = 1.7770833f;
Level* _Init();
}  // namespace LevelData::Eula
