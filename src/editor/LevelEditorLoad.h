#pragma once
// "LevelEditorLoad" ("Loading Level"): the open dialog. It lists the level
// files of the user's level folder ("LevelListScreen", an "OpenLevelList")
// and opens the chosen one in the editor; its buttons are
// "LevelEditorOpenConfirm" and "LevelEditorOpenCancel".
#include "editor/EditorDialog.h"

namespace LevelData::LevelEditorLoad {

struct Variables : EditorDialog::Variables {};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// "Logic" of the confirm button.
void ConfirmLogic(Entity* button, Entity* other);

}  // namespace LevelData::LevelEditorLoad

namespace ExObjectData {

// "LevelEditorOpenCancel" and "LevelEditorOpenConfirm" (base "Button").
void LevelEditorOpenCancel(Object* object);
void LevelEditorOpenConfirm(Object* object);

}  // namespace ExObjectData
