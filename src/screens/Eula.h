#pragma once
// "Eula": the licence agreement, the first screen of the first state. Accept
// goes on to the splashes; Decline, Escape or the window's close button
// (through the quit dialog) end the program.
class Level;

namespace LevelData::Eula {
extern const char* const kLicence;
Level* _Init();
}  // namespace LevelData::Eula
