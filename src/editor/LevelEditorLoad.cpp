#include "editor/LevelEditorLoad.h"

#include "editor/OpenLevelList.h"
#include "framework/Level.h"
#include "framework/LevelCollision.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::LevelEditorLoad {

namespace {

VariableOffsetTable table;

constexpr char kList[] = "LevelListScreen";

void Spawn(State* state) {
    LevelTemplate::SpawnIn(state, "OpenLevelList", kList);
    LevelTemplate::SpawnIn(state, "LevelEditorOpenConfirm");
    LevelTemplate::SpawnIn(state, "LevelEditorOpenCancel");
}

void PreLoad(Entity*, Entity*) { EditorDialog::SetUpWindow(800, 600, 1.3333334f, "Loading Level"); }

void Load(Entity* self, Entity*) {
    EditorDialog::PlaceCommon(self);
    Entity* list = self->GetMyObject(kList);
    if (ObjectData::OpenLevelList::Variables* v = ObjectData::OpenLevelList::Find(list)) {
        // Wide enough for long names, and clear of the message line above it
        // and the buttons below it.
        const float pixel = 1.0f / Widgets::WindowHeight();
        v->position.x = -10.0f * pixel;
        v->position.y = 12.0f * pixel;
        v->size = D3DXVECTOR2(520.0f * pixel, 440.0f * pixel);
        ObjectData::OpenLevelList::ListLevelFiles(*v);
        Widgets::RaiseOwn(list, "Init", self);
    }
    EditorDialog::FocusFirst(self);
}

}  // namespace

// Opens the chosen file as it was listed. The editor takes its name only
// once the file has been read: a file that is gone or cannot be read keeps
// the dialog open with a message and the editor as it was.
void ConfirmLogic(Entity* button, Entity*) {
    Level* dialog = button->_state->GetLevel();
    const std::optional<EditorDialog::Editor> editor = EditorDialog::Opener(button);
    if (!editor) return EditorDialog::Close(button);
    ObjectData::OpenLevelList::Variables* list = ObjectData::OpenLevelList::Find(dialog->GetMyObject(kList));
    if (list == nullptr || list->clickedLevel == ObjectData::OpenLevelList::kNothing) return;

    const std::string file = list->clickedLevel;
    LevelCollision loaded;
    if (!loaded.Load(file))
        return EditorDialog::ShowMessage(dialog, "Could not open " + file + ": it is gone or not a level file.");
    // Listed files all end in ".lvl".
    EditorDialog::OpenInEditor(*editor, button, loaded, file.substr(0, file.size() - 4));
}

Level* _Init() {
    auto* prototype = EditorDialog::Register<Variables>(
        "LevelEditorLoad", table, &EditorDialog::Copy<Variables, &Spawn>, &PreLoad, &Load, Event());
    // A double click on an entry opens it, as the confirm button does.
    prototype->_AddEvent("OpenChosen", &ConfirmLogic);
    return prototype;
}

}  // namespace LevelData::LevelEditorLoad

namespace ExObjectData {

void LevelEditorOpenCancel(Object* object) {
    EditorDialog::PlaceButton(object, 0.2f, -0.45f, 0.3f, 0.1f, "cancelButton", &GoToLevelQuit);
}

void LevelEditorOpenConfirm(Object* object) {
    EditorDialog::PlaceButton(object, -0.15f, -0.45f, 0.3f, 0.1f, "loadButton",
                              &LevelData::LevelEditorLoad::ConfirmLogic);
}

}  // namespace ExObjectData
