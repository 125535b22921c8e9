#pragma once
// "Credits": the night sky, the credits picture, the line naming who owns the
// game's content, and a button back to the main menu. "CreditsScreen" shares
// its copy step.
#include "screens/MenuScreen.h"
#include "screens/ScreenSteps.h"

namespace LevelData::Credits {

using Variables = ScreenSteps::BackdropVariables;
using _DATA = LevelTemplate::Data<Variables>;

// The ownership line, in its colour mark.
extern const char* const OwnershipLine;

// The copy step of both credits screens: the pointer, the button back to the
// main menu, the fade and the stars.
void _Copy(Entity* copy, const Entity* source);
// Both credits screens' first steps: the night sky, the credits picture, the fade in.
void BuildCreditsPicture(Entity* self);
// The variables both credits screens bind.
void BindVariables(VariableOffsetTable& table, _DATA* prototype);

Level* _Init();

}  // namespace LevelData::Credits
