#pragma once
// "LevelEditorResize" ("Resize Level"): the dialog that gives the open level
// a new width and height (16 to 200 cells each), keeping the cells that
// still fit; and its confirm button "LevelEditorResizeConfirm".
#include "editor/EditorDialog.h"

namespace LevelData::LevelEditorResize {

struct Variables : EditorDialog::SizeVariables {};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The dialog's variables, or null for any other level.
Variables* Find(Entity* level);

// "Logic" of the confirm button.
void ConfirmLogic(Entity* button, Entity* other);

}  // namespace LevelData::LevelEditorResize

namespace ExObjectData {

// "LevelEditorResizeConfirm" (base "Button").
void LevelEditorResizeConfirm(Object* object);

}  // namespace ExObjectData
