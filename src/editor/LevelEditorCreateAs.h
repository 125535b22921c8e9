#pragma once
// "LevelEditorCreateAs" ("Save Level As"): the dialog that saves the open
// level under a new name, which the editor keeps from then on; and its
// confirm button "LevelEditorCreateConfirmSaveAs".
#include <string>

#include "editor/EditorDialog.h"

namespace LevelData::LevelEditorCreateAs {

struct Variables : EditorDialog::Variables {
    std::string EnteredLevelNameSaveAs;
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The dialog's variables, or null for any other level.
Variables* Find(Entity* level);

// "Logic" of the confirm button.
void ConfirmLogic(Entity* button, Entity* other);

}  // namespace LevelData::LevelEditorCreateAs

namespace ExObjectData {

// "LevelEditorCreateConfirmSaveAs" (base "Button").
void LevelEditorCreateConfirmSaveAs(Object* object);

}  // namespace ExObjectData
