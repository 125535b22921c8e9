#include "editor/EditorToolBar.h"

#include <string>

#include "editor/EditorTools.h"
#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/window/StateWindows.h"
#include "screens/MenuScreen.h"
#include "widgets/Button.h"
#include "widgets/Cursor.h"
#include "widgets/WidgetSupport.h"

namespace ExObjectData::EditorToolBar {

namespace {

using ButtonVars = ObjectData::Button::Variables;

void Place(Object* object, const char* texture, float x, float y, float side, Event logic) {
    ButtonVars& v = VariablesOf<ButtonVars>(object);
    v.texture = texture;
    v.position = D3DXVECTOR3(x, y, 0.0f);
    v.size = D3DXVECTOR2(side, side);
    object->AddEvent("Logic", logic);
}

// Opens the dialog level `name` in a state of its own, standing in front of
// the editor's window until it closes (the editor takes no input meanwhile),
// and tells it which editor opened it ("Opened"); nothing happens while no
// such dialog is registered.
void OpenDialog(Entity* button, const char* name) {
    Level* editor = button->_state != nullptr ? button->_state->GetLevel() : nullptr;
    State* dialog = CreateStateByName(name);
    if (dialog == nullptr) return;
    BlockBehind(dialog, button->_state);
    LevelTemplate::SetIfPresent<Level*>(dialog->GetLevel(), enum_ParentLevel, editor);
    Entity::_DoEvent("Opened", editor, dialog->GetLevel());
}

void NewLogic(Entity* button, Entity*) { OpenDialog(button, "LevelEditorCreate"); }
void OpenLogic(Entity* button, Entity*) { OpenDialog(button, "LevelEditorLoad"); }
void SaveAsLogic(Entity* button, Entity*) { OpenDialog(button, "LevelEditorCreateAs"); }
void ResizeLogic(Entity* button, Entity*) { OpenDialog(button, "LevelEditorResize"); }

template <int Tool>
void ChooseTool(Entity* button, Entity*) {
    if (LevelData::LevelEditor::Variables* editor = LevelData::LevelEditor::Of(button)) editor->ToolCursor = Tool;
}

// A tool selector: its background idle, hovered or pressed (while its tool
// is chosen), and the tool's picture over it.
template <int Tool>
void DrawSelector(Entity* self, Entity*) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr) return;
    const ButtonVars& v = VariablesOf<ButtonVars>(self);
    const LevelData::LevelEditor::Variables* editor = LevelData::LevelEditor::Of(self);
    const bool chosen = editor != nullptr && editor->ToolCursor == Tool;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    Widgets::Camera(cx, cy, r);
    const float x = v.position.x / r + cx, y = v.position.y / r + cy;
    const float w = v.size.x / r, h = v.size.y / r;
    const int colour = static_cast<int>(v.color);
    if (chosen)
        graphicsEngine.AddFrame(x, y, v.position.z, w, h, 0.0f, FrameMap(v.backgroundPressed, 0, 0), colour);
    else if (v.hover)
        graphicsEngine.AddFrame(x, y, v.position.z + 1.0f, w * 1.1f, h * 1.1f, 0.0f, FrameMap(v.backgroundHover, 0, 0),
                                colour);
    else
        graphicsEngine.AddFrame(x, y, v.position.z, w, h, 0.0f, FrameMap(v.backgroundIdle, 0, 0), colour);
    graphicsEngine.AddFrame(x, y, v.position.z + 2.0f, w * 0.7f, h * 0.7f, 0.0f, FrameMap(v.texture, 0, 0), colour);
}

template <int Tool>
void Selector(Object* object, const char* texture, float x, float y) {
    Place(object, texture, x, y, 0.1f, &ChooseTool<Tool>);
    ButtonVars& v = VariablesOf<ButtonVars>(object);
    v.backgroundIdle = "buttonIdle";
    v.backgroundHover = "buttonHover";
    v.backgroundPressed = "buttonPressed";
    object->AddEvent("GraphicsDraw", &DrawSelector<Tool>);
    object->AddToEngine("GraphicsDraw", &DrawSelector<Tool>);
}

void DrawEditCursor(Entity* self, Entity*) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr) return;
    const ObjectData::Cursor::Variables& v = VariablesOf<ObjectData::Cursor::Variables>(self);
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    Widgets::Camera(cx, cy, r);
    // The picture hangs from its top-left corner at the pointer.
    graphicsEngine.AddFrame((v.position.x + v.size.x / 2.0f) / r + cx, (v.position.y - v.size.y / 2.0f) / r + cy,
                            v.position.z, v.size.x / r, v.size.y / r, 0.0f, FrameMap(v.texture, 0, 0), -1);
}

}  // namespace

void SaveLogic(Entity* button, Entity*) {
    if (button->_state != nullptr) LevelData::LevelEditor::SaveLevel(button->_state->GetLevel());
}

namespace {

// The fade out is over: the level goes to the test play as it was saved.
// An edit made while the screen faded is saved first; when that save fails
// the editor stays, fading back in, with the failure on its message line.
void StartTestPlay(Entity* button, Entity*) {
    button->SetEvent("FadedOut", Event());
    Level* editor = button->_state != nullptr ? button->_state->GetLevel() : nullptr;
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(editor != nullptr ? editor->GetMyObject("EGrid") : nullptr);
    if (g == nullptr) return;
    if (LevelData::LevelEditor::HasUnsavedChanges(editor) && !LevelData::LevelEditor::SaveLevel(editor)) {
        MenuScreen::FadeIn(editor);
        return;
    }
    GameVars().basicLevel = g->grid;
    State::SetLevel(button->_state, "Sandbox");
}

}  // namespace

// A level without its start or its goal cannot be played: Play says what
// is missing and stays. Otherwise it saves (saying so) and fades out to the
// test play. The test play's goal reloads the file: a level that was not
// written stays here rather than marking an older file as completed.
void PlayLogic(Entity* button, Entity*) {
    Level* editor = button->_state != nullptr ? button->_state->GetLevel() : nullptr;
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(editor != nullptr ? editor->GetMyObject("EGrid") : nullptr);
    if (g == nullptr) return;
    EditorTools::DropLiftedBlock(editor);
    const std::string missing = LevelData::LevelEditor::MissingForPlay(g->grid, g->StartPos);
    if (!missing.empty()) {
        const bool both = missing.find(" and ") != std::string::npos;
        LevelData::LevelEditor::ShowMessage(
            editor, "Play needs " + missing + ": place " + (both ? "them" : "one") + " from the Objects tab.");
        return;
    }
    if (!LevelData::LevelEditor::SaveLevel(editor) || !Level::_IsRegistered("Sandbox")) return;
    MenuScreen::FadeOutTo(button, &StartTestPlay);
}

void ZoomLogic(Entity* button, Entity*) {
    Level* editor = button->_state != nullptr ? button->_state->GetLevel() : nullptr;
    LevelData::LevelEditor::Variables* v = LevelData::LevelEditor::Find(editor);
    if (v == nullptr) return;
    LevelData::LevelEditor::SetZoom(editor, v->ZoomScale < LevelData::LevelEditor::kMaxZoom ? v->ZoomScale * 2 : 1,
                                    button);
}

void New(Object* o) { Place(o, "new", -0.72f, 0.42f, 0.075f, &NewLogic); }
void Open(Object* o) { Place(o, "load", -0.62f, 0.42f, 0.075f, &OpenLogic); }
void Save(Object* o) { Place(o, "save", -0.72f, 0.32f, 0.075f, &SaveLogic); }
void SaveAs(Object* o) { Place(o, "saveAs", -0.62f, 0.32f, 0.075f, &SaveAsLogic); }
void Play(Object* o) { Place(o, "play", -0.45f, 0.38f, 0.15f, &PlayLogic); }
void Resize(Object* o) { Place(o, "resize", 0.77f, -0.275f, 0.05f, &ResizeLogic); }
void Zoom(Object* o) { Place(o, "zoom", -0.72f, -0.3f, 0.1f, &ZoomLogic); }
void Pencil(Object* o) { Selector<0>(o, "overlayPencil", -0.59f, -0.3f); }
void Box(Object* o) { Selector<1>(o, "overlayBox", -0.47f, -0.3f); }
void Bucket(Object* o) { Selector<2>(o, "overlayBucket", -0.47f, -0.43f); }
void MoveButton(Object* o) { Selector<3>(o, "move", -0.59f, -0.43f); }
void Circle(Object* o) { Place(o, "circle", -0.56f, 0.35f, 0.05f, Event()); }
void Fill(Object* o) { Place(o, "fill", -0.49f, 0.35f, 0.05f, Event()); }
void Settings(Object* o) { Place(o, "settings", -0.49f, 0.42f, 0.05f, Event()); }

void EditCursor(Object* object) {
    object->AddEvent("GraphicsDraw", &DrawEditCursor);
    object->AddToEngine("GraphicsDraw", &DrawEditCursor);
}

}  // namespace ExObjectData::EditorToolBar
