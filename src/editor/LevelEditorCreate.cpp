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
    // The name's label stands over the left end of its box, each size's
    // centred over its box, naming the range; the band along the top is
    // the message line's.
    EditorDialog::Label("Level Name:", -0.1f, 0.29f, 0.09f, 1.0f, false);
    EditorDialog::Label("Width: (16 - 200)", -0.45f, -0.05f, 0.085f, 0.85f, false, 1);
    EditorDialog::Label("Height: (16 - 200)", 0.45f, -0.05f, 0.085f, 0.85f, false, 1);
    EditorDialog::FocusFirst(self);
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.EnteredLevelName = EditorDialog::BoxText(self, "LevelNameTextBox");
    EditorDialog::ReadSizes(self, v);
}

}  // namespace

// Makes the new level: a size outside the range, refused names, an existing
// file and a failed write keep the dialog open with a message and leave the
// editor as it was. The new level has its start at (1, 1), as the editor's
// first level does, so it can be played from the file at once.
void ConfirmLogic(Entity* button, Entity*) {
    const auto confirm = EditorDialog::BeginConfirm(button, &Find);
    if (!confirm) return;
    const std::string name = confirm->vars->EnteredLevelName;
    int width = 0, height = 0;
    if (!EditorDialog::SizesInRange(confirm->dialog, width, height) || !EditorDialog::NameFree(confirm->dialog, name))
        return;

    LevelCollision fresh(width, height);
    fresh.ClearGrid();
    D3DXVECTOR2 start(1.0f, 1.0f);
    ObjectData::Grid::KeepOneStart(fresh, start);
    if (!EditorDialog::SaveLevelFile(confirm->dialog, fresh, name)) return;
    EditorDialog::OpenInEditor(confirm->editor, button, fresh, name);
}

Variables* Find(Entity* level) { return EditorDialog::FindIn<Variables>(level, table); }

Level* _Init() {
    auto* prototype = EditorDialog::Register<Variables>(
        "LevelEditorCreate", table, &EditorDialog::Copy<Variables, &Spawn>, &PreLoad, &Load, &Update);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_EnteredLevelName, v.EnteredLevelName);
    EditorDialog::BindSizes(table, *prototype, v);
    return prototype;
}

}  // namespace LevelData::LevelEditorCreate

namespace ExObjectData {

void LevelEditorCreateConfirm(Object* object) {
    EditorDialog::PlaceButton(object, 0.4f, -0.4f, 0.54f, 0.17f, "loadButton",
                              &LevelData::LevelEditorCreate::ConfirmLogic);
}

}  // namespace ExObjectData
