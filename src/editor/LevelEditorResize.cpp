#include "editor/LevelEditorResize.h"

#include <string>

#include "editor/EditorTools.h"
#include "framework/Level.h"

namespace LevelData::LevelEditorResize {

namespace {

VariableOffsetTable table;

void Spawn(State* state) {
    for (const char* box : {"GridWidthTextBox", "GridHeightTextBox"})
        LevelTemplate::SpawnIn(state, "SingleLineTextBox", box);
    LevelTemplate::SpawnIn(state, "LevelEditorResizeConfirm");
    LevelTemplate::SpawnIn(state, "LevelEditorCreateCancel");
}

void PreLoad(Entity*, Entity*) { EditorDialog::SetUpWindow(400, 250, 1.6f, "Resize Level"); }

void Load(Entity* self, Entity*) {
    EditorDialog::PlaceCommon(self);
    EditorDialog::PlaceBox(self, "GridWidthTextBox", -0.45f, 0.15f, false, 0.3f, 0.13f, true);
    EditorDialog::PlaceBox(self, "GridHeightTextBox", -0.45f, -0.2f, false, 0.3f, 0.13f, true);
    // Each label to the right of its box.
    EditorDialog::Label("New Width: (16 - 200)", 0.22f, 0.15f, 0.085f, 0.9f, false);
    EditorDialog::Label("New Height: (16 - 200)", 0.22f, -0.2f, 0.085f, 0.9f, false);
    EditorDialog::FocusFirst(self);
}

void Update(Entity* self, Entity*) { EditorDialog::ReadSizes(self, VariablesOf<Variables>(self)); }

// The boxes start with the level's size, so one side alone can be changed.
void Opened(Entity* self, Entity* editor) {
    const LevelData::LevelEditor::Variables* v = LevelData::LevelEditor::Find(editor);
    if (v == nullptr) return;
    EditorDialog::FillBox(self, "GridWidthTextBox", std::to_string(v->GridWidth));
    EditorDialog::FillBox(self, "GridHeightTextBox", std::to_string(v->GridHeight));
    EditorDialog::ReadSizes(self, VariablesOf<Variables>(self));
}

}  // namespace

// Resizes the open level, keeping the cells that still fit; a size outside
// the range keeps the dialog open with a message. The undo and redo steps
// were recorded at the old size, so both stacks are cleared. A start left
// outside the new size comes back inside.
void ConfirmLogic(Entity* button, Entity*) {
    const auto confirm = EditorDialog::BeginConfirm(button, &Find);
    if (!confirm) return;
    int width = 0, height = 0;
    if (!EditorDialog::SizesInRange(confirm->dialog, width, height)) return;

    const EditorDialog::Editor& editor = confirm->editor;
    EditorTools::DropLiftedBlock(editor.level);
    LevelCollision& grid = editor.grid->grid;
    grid.Resize(width, height);
    grid.ClearUndoStack();
    grid.ClearRedoStack();
    const ObjectData::Grid::StartCheck start = ObjectData::Grid::KeepOneStart(grid, editor.grid->StartPos);
    EditorDialog::TakeSize(editor.level, button, width, height);
    LevelData::LevelEditor::ShowMessage(
        editor.level, start.placed ? "The level start lay outside the new size: it now stands inside." : "");
    EditorDialog::Close(button);
}

Variables* Find(Entity* level) { return EditorDialog::FindIn<Variables>(level, table); }

Level* _Init() {
    auto* prototype = EditorDialog::Register<Variables>(
        "LevelEditorResize", table, &EditorDialog::Copy<Variables, &Spawn>, &PreLoad, &Load, &Update, &Opened);
    EditorDialog::BindSizes(table, *prototype, prototype->vars);
    return prototype;
}

}  // namespace LevelData::LevelEditorResize

namespace ExObjectData {

void LevelEditorResizeConfirm(Object* object) {
    EditorDialog::PlaceButton(object, 0.4f, -0.4f, 0.54f, 0.17f, "loadButton",
                              &LevelData::LevelEditorResize::ConfirmLogic);
}

}  // namespace ExObjectData
