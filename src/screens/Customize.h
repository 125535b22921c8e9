#pragma once
// "Customize": the player's name in a text box and the red, green and blue of
// the character's colour on three sliders, with the character shown live;
// every change goes into the game entity at once (and so into the save file).
#include <string>

#include "screens/MenuScreen.h"
#include "screens/ScreenSteps.h"

namespace LevelData::Customize {

using Variables = ScreenSteps::BackdropVariables;
using _DATA = LevelTemplate::Data<Variables>;

// Keeps a name within what the save file keeps: the characters past the
// limit that stand just before the caret (the ones just typed) are taken
// out and the caret moves back with them; a caret elsewhere loses the end.
void LimitName(std::string& text, std::int32_t& caret);

Level* _Init();

}  // namespace LevelData::Customize
