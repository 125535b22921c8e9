#pragma once
// "LevelEditorCreate" ("Create New Level"): the dialog that makes a new,
// empty level of a name, a width and a height, writes its file at once and
// opens it in the editor; and its confirm button "LevelEditorCreateConfirm".
#include <string>

#include "editor/EditorDialog.h"

namespace LevelData::LevelEditorCreate {

struct Variables : EditorDialog::SizeVariables {
    std::string EnteredLevelName;
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The dialog's variables, or null for any other level.
Variables* Find(Entity* level);

// "Logic" of the confirm button.
void ConfirmLogic(Entity* button, Entity* other);

}  // namespace LevelData::LevelEditorCreate

namespace ExObjectData {

// "LevelEditorCreateConfirm" (base "Button").
void LevelEditorCreateConfirm(Object* object);

}  // namespace ExObjectData
