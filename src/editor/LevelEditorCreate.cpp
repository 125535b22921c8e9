#include "editor/LevelEditorCreate.h"

#include "editor/LevelNameRule.h"
#include "framework/Level.h"
#include "framework/LevelCollision.h"

namespace LevelData::LevelEditorCreate {

namespace {

VariableOffsetTable table;

void Spawn(State* state) {
    for (const char* box : {"LevelNameTextBox", "GridWidthTextBox", "GridHeightTextBox"})
        LevelTemplate::SpawnIn(state, "SingleLineTextBox", box);
    LevelTemplate::SpawnIn(state, "LevelEditorCreateConfirm");
    LevelTemplate::SpawnIn(state, "LevelEditorCreateCancel");
}

void PreLoad(Entity*, Entity*) { EditorDialog::SetUpWindow(400, 225, 1.7777778f, "Create New Level"); }

void Load(Entity* self, Entity*) {
    EditorDialog::PlaceCommon(self);
    EditorDialog::PlaceBox(self, "LevelNameTextBox", 0.0f, 0.15f, true, 1.2f, 0.13f, false);
    EditorDialog::PlaceBox(self, "GridWidthTextBox", -0.45f, -0.2f, false, 0.3f, 0.13f, true);
    EditorDialog::PlaceBox(self, "GridHeightTextBox", 0.45f, -0.2f, false, 0.3f, 0.13f, true);
    // Each label stands over the left end of its box.
    EditorDialog::Label("Level Name:", -0.1f, 0.3f, 0.1f, 1.0f, false);
    EditorDialog::Label("Width:", -0.25f, -0.05f, 0.1f, 0.7f, false);
    EditorDialog::Label("Height:", 0.65f, -0.05f, 0.1f, 0.7f, false);
    EditorDialog::FocusFirst(self);
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.EnteredLevelName = EditorDialog::BoxText(self, "LevelNameTextBox");
    EditorDialog::ReadSizes(self, v);
}

}  // namespace

// Makes the new level: refused names, an existing file and a failed write
// keep the dialog open with a message and leave the editor as it was.
void ConfirmLogic(Entity* button, Entity*) {
    const auto confirm = EditorDialog::BeginConfirm(button, &Find);
    if (!confirm) return;
    const Variables& d = *confirm->vars;
    const std::string name = d.EnteredLevelName;
    if (!EditorDialog::SizesEntered(confirm->dialog, d.enteredWidth, d.enteredHeight) ||
        !EditorDialog::NameFree(confirm->dialog, name))
        return;

    LevelCollision fresh(EditorDialog::ClampSize(d.enteredWidth), EditorDialog::ClampSize(d.enteredHeight));
    fresh.ClearGrid();
    if (!EditorDialog::SaveLevelFile(confirm->dialog, fresh, name)) return;
    EditorDialog::OpenInEditor(confirm->editor, button, fresh, name);
}

Variables* Find(Entity* level) { return EditorDialog::FindIn<Variables>(level, table); }

Level* _Init() {
    auto* prototype = EditorDialog::Register<Variables>("LevelEditorCreate", table, &EditorDialog::Copy<Variables, &Spawn>,
                                                        &PreLoad, &Load, &Update);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_EnteredLevelName, v.EnteredLevelName);
    EditorDialog::BindSizes(table, *prototype, v);
    return prototype;
}

}  // namespace LevelData::LevelEditorCreate

namespace ExObjectData {

void LevelEditorCreateConfirm(Object* object) {
    EditorDialog::PlaceButton(object, 0.4f, -0.4f, 0.54f, 0.17f, "loadButton", &LevelData::LevelEditorCreate::ConfirmLogic);
}

}  // namespace ExObjectData
