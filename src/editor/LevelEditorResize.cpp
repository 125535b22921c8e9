#include "editor/LevelEditorResize.h"

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

void Update(Entity* self, Entity*) {
    EditorDialog::ReadSizes(self, VariablesOf<Variables>(self));
}

}  // namespace

// Resizes the open level, keeping the cells that still fit. The undo and
// redo steps were recorded at the old size, so both stacks are cleared.
void ConfirmLogic(Entity* button, Entity*) {
    const auto confirm = EditorDialog::BeginConfirm(button, &Find);
    if (!confirm) return;
    const Variables& d = *confirm->vars;
    if (!EditorDialog::SizesEntered(confirm->dialog, d.enteredWidth, d.enteredHeight)) return;

    const int width = EditorDialog::ClampSize(d.enteredWidth);
    const int height = EditorDialog::ClampSize(d.enteredHeight);
    const EditorDialog::Editor& editor = confirm->editor;
    EditorTools::DropLiftedBlock(editor.level);
    LevelCollision& grid = editor.grid->grid;
    grid.Resize(width, height);
    grid.ClearUndoStack();
    grid.ClearRedoStack();
    EditorDialog::TakeSize(editor.level, button, width, height);
    EditorDialog::Close(button);
}

Variables* Find(Entity* level) { return EditorDialog::FindIn<Variables>(level, table); }

Level* _Init() {
    auto* prototype = EditorDialog::Register<Variables>("LevelEditorResize", table, &EditorDialog::Copy<Variables, &Spawn>,
                                                        &PreLoad, &Load, &Update);
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
