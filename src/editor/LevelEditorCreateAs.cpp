#include "editor/LevelEditorCreateAs.h"

#include "editor/EditorTools.h"
#include "editor/LevelNameRule.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/LevelCollision.h"

namespace LevelData::LevelEditorCreateAs {

namespace {

VariableOffsetTable table;

void Spawn(State* state) {
    LevelTemplate::SpawnIn(state, "SingleLineTextBox", "LevelNameTextBoxSaveAs");
    LevelTemplate::SpawnIn(state, "LevelEditorCreateConfirmSaveAs");
    LevelTemplate::SpawnIn(state, "LevelEditorCreateCancel");
}

void PreLoad(Entity*, Entity*) { EditorDialog::SetUpWindow(400, 250, 1.6f, "Save Level As"); }

void Load(Entity* self, Entity*) {
    EditorDialog::PlaceCommon(self);
    EditorDialog::PlaceBox(self, "LevelNameTextBoxSaveAs", 0.0f, 0.05f, true, 1.2f, 0.13f, false);
    EditorDialog::Label("New Level Name:", -0.1f, 0.2f, 0.1f, 1.0f, false);
    EditorDialog::FocusFirst(self);
}

void Update(Entity* self, Entity*) {
    VariablesOf<Variables>(self).EnteredLevelNameSaveAs = EditorDialog::BoxText(self, "LevelNameTextBoxSaveAs");
}

}  // namespace

// Saves the open level under the new name. Another level's file is never
// replaced; the open level's own name simply saves it. A refused name or a
// failed write keeps the dialog open and the editor's name as it was.
void ConfirmLogic(Entity* button, Entity*) {
    const auto confirm = EditorDialog::BeginConfirm(button, &Find);
    if (!confirm) return;
    const EditorDialog::Editor& editor = confirm->editor;
    const std::string name = confirm->vars->EnteredLevelNameSaveAs;
    if (!EditorDialog::NameFree(confirm->dialog, name, editor.vars->LevelName)) return;

    EditorTools::DropLiftedBlock(editor.level);
    if (!EditorDialog::SaveLevelFile(confirm->dialog, editor.grid->grid, name)) return;
    editor.vars->LevelName = name;
    EditorLevelName = name;
    LevelData::LevelEditor::ShowMessage(editor.level, "");
    EditorDialog::Close(button);
}

Variables* Find(Entity* level) { return EditorDialog::FindIn<Variables>(level, table); }

Level* _Init() {
    auto* prototype = EditorDialog::Register<Variables>(
        "LevelEditorCreateAs", table, &EditorDialog::Copy<Variables, &Spawn>, &PreLoad, &Load, &Update);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_EnteredLevelNameSaveAs, v.EnteredLevelNameSaveAs);
    return prototype;
}

}  // namespace LevelData::LevelEditorCreateAs

namespace ExObjectData {

void LevelEditorCreateConfirmSaveAs(Object* object) {
    EditorDialog::PlaceButton(object, 0.4f, -0.4f, 0.54f, 0.17f, "loadButton",
                              &LevelData::LevelEditorCreateAs::ConfirmLogic);
}

}  // namespace ExObjectData
