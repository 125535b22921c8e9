#include "editor/EditorDialog.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "editor/EditorTools.h"
#include "editor/LevelEditor.h"
#include "editor/LevelNameRule.h"
#include "framework/GameVariables.h"
#include "framework/Globals.h"
#include "framework/Level.h"
#include "framework/State.h"
#include "platform/graphics/TripleBuffer.h"
#include "screens/MenuScreen.h"
#include "widgets/Button.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace ExObjectData {

void GoToLevelQuit(Entity* self, Entity*) {
    if (self != nullptr) State::SetLevel(self->_state, "Quit");
}

void LevelEditorCreateCancel(Object* object) {
    EditorDialog::PlaceButton(object, -0.4f, -0.4f, 0.54f, 0.17f, "cancelButton", &GoToLevelQuit);
}

}  // namespace ExObjectData

namespace EditorDialog {

namespace {

// The dialogs open now, each with the level it was built with; a dialog's
// opener is read from its own ParentLevel.
std::vector<Entity*>& OpenDialogs() {
    static std::vector<Entity*> dialogs;
    return dialogs;
}

bool Tracked(Entity* level) {
    const std::vector<Entity*>& open = OpenDialogs();
    return std::find(open.begin(), open.end(), level) != open.end();
}

constexpr char kMessage[] = "DialogMessage";

}  // namespace

void BindCommon(VariableOffsetTable& table, const Entity& prototype, Variables& v) {
    BindVariable(table, prototype, enum_position1, v.position1);
    BindVariable(table, prototype, enum_ParentLevel, v.ParentLevel);
}

void BindSizes(VariableOffsetTable& table, const Entity& prototype, SizeVariables& v) {
    BindVariable(table, prototype, enum_enteredWidth, v.enteredWidth);
    BindVariable(table, prototype, enum_enteredHeight, v.enteredHeight);
}

void ReadSizes(Entity* level, SizeVariables& v) {
    v.enteredWidth = std::atoi(BoxText(level, "GridWidthTextBox").c_str());
    v.enteredHeight = std::atoi(BoxText(level, "GridHeightTextBox").c_str());
}


void Build(Entity* copy, void (*spawn)(State* state)) {
    copy->DoEvent("PreLoad");
    MenuScreen::TakeEngines();
    LevelTemplate::SpawnIn(copy->_state, "MMCursor", "Cursor");
    spawn(copy->_state);
    copy->DoEvent("Load");
}

void SetUpWindow(int width, int height, float aspect, const char* title) {
    State::SetSize(width, height);
    State::SetResolution(aspect);
    TripleBuffer::OnLost();
    TripleBuffer::OnReset();
    State::SetTitle(title);
}

void PlaceCommon(Entity* level) {
    if (!Tracked(level)) OpenDialogs().push_back(level);
    MenuScreen::Backdrop("BACK LevelEditor");
    if (Entity* cursor = level->GetMyObject("Cursor")) {
        LevelTemplate::SetIfPresent<const char*>(cursor, enum_texture, "Cursor A");
        LevelTemplate::SetIfPresent(cursor, enum_visible, false);
    }
    // What went wrong with the last confirm, in one line along the top.
    if (TextSettings* s = MenuScreen::TextOf(LevelTemplate::SpawnIn(level->_state, "Text", kMessage), "")) {
        s->font = "ashleyscriptmtstd";
        s->hAlign = 1;
        s->vAlign = 1;
        s->multiLine = false;
        s->fixedWidth = false;
        s->x = 0.0f;
        s->y = 0.455f;
        s->z = 5.0f;
        s->width = Widgets::WindowAspect() - 0.06f;
        s->height = 0.07f;
        s->charHeight = 0.06f;
        s->colorize = true;
        s->primaryColor = 0xFFB01030u;
    }
}

void FocusFirst(Entity* level) {
    auto* tabs = ObjectData::TabManager::Find(Widgets::FindTabManager(level));
    if (tabs != nullptr) tabs->objectListIterator = tabs->objectList.begin();
}

void Forget(Entity* level, Entity*) {
    std::vector<Entity*>& open = OpenDialogs();
    open.erase(std::remove(open.begin(), open.end(), level), open.end());
}

void PlaceBox(Entity* level, const char* name, float x, float y, bool keepX, float w, float h, bool digitsOnly) {
    Entity* box = level->GetMyObject(name);
    ObjectData::SingleLineTextBox::Variables* b = ObjectData::SingleLineTextBox::Find(box);
    if (b == nullptr) return;
    if (!keepX) b->position.x = x;
    b->position.y = y;
    b->size = D3DXVECTOR2(w, h);
    if (digitsOnly) b->validCharacters = "0123456789";
    Widgets::RaiseOwn(box, "ApplyNewSettings", level);
}

void PlaceButton(Object* object, float x, float y, float w, float h, const char* texture, void (*logic)(Entity*, Entity*)) {
    ObjectData::Button::Variables& v = VariablesOf<ObjectData::Button::Variables>(object);
    v.position = D3DXVECTOR3(x, y, 0.0f);
    v.size = D3DXVECTOR2(w, h);
    v.texture = texture;
    object->AddEvent("Logic", logic);
}

void Label(const char* text, float x, float y, float charHeight, float width, bool multiLine) {
    TextSettings* s = MenuScreen::TextOf(LevelTemplate::Spawn("Text"), text);
    if (s == nullptr) return;
    s->font = "ashleyscriptmtstd";
    s->fixedWidth = false;
    s->hAlign = 0;
    s->vAlign = 1;
    s->x = x;
    s->y = y;
    s->z = 5.0f;
    s->charHeight = charHeight;
    s->width = width;
    s->height = charHeight * (multiLine ? 2.0f : 1.2f);
    s->multiLine = multiLine;
    s->colorize = true;
    s->primaryColor = 0xFF444434u;
}

std::string BoxText(Entity* level, const char* name) {
    ObjectData::SingleLineTextBox::Variables* b = ObjectData::SingleLineTextBox::Find(level->GetMyObject(name));
    ObjectData::Text::Variables* t = ObjectData::Text::Find(b != nullptr ? b->textObject : nullptr);
    return t != nullptr ? t->text : std::string();
}

void ShowMessage(Entity* level, const std::string& text) {
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(level->GetMyObject(kMessage))) t->text = text;
}

std::string Message(Entity* level) {
    ObjectData::Text::Variables* t = ObjectData::Text::Find(level->GetMyObject(kMessage));
    return t != nullptr ? t->text : std::string();
}

std::optional<Editor> Opener(Entity* button) {
    Level* dialog = button != nullptr && button->_state != nullptr ? button->_state->GetLevel() : nullptr;
    Level** parent = dialog != nullptr && Tracked(dialog) ? FindVariable<Level*>(dialog, enum_ParentLevel) : nullptr;
    if (parent == nullptr || *parent == nullptr) return std::nullopt;
    // The editor clears ParentLevel when it leaves; its state must also still
    // run it, with no switch to another level (or a close) pending.
    Level* level = *parent;
    const auto runs = [level](const State* state) {
        return state != nullptr && !state->Deleted() && state->GetLevel() == level &&
               state->GetNextLevelName() == state->GetLevelName();
    };
    if (std::none_of(State::_list.begin(), State::_list.end(), runs)) return std::nullopt;
    Editor editor{level, LevelData::LevelEditor::Find(level), ObjectData::Grid::Find(level->GetMyObject("EGrid"))};
    if (editor.vars == nullptr || editor.grid == nullptr) return std::nullopt;
    return editor;
}

void OpenInEditor(const Editor& editor, Entity* button, const LevelCollision& grid, const std::string& name) {
    EditorTools::DropLiftedBlock(editor.level);
    ObjectData::Grid::Variables& g = *editor.grid;
    g.grid = grid;
    g.grid.ClearUndoStack();
    g.grid.ClearRedoStack();
    g.StartPos = g.grid.GetStartPos();
    editor.vars->LevelName = name;
    EditorLevelName = name;
    TakeSize(editor.level, button, g.grid.GetWidth(), g.grid.GetHeight());
    LevelData::LevelEditor::ShowMessage(editor.level, "");
    Close(button);
}

void Close(Entity* button) { ExObjectData::GoToLevelQuit(button, nullptr); }

void CloseDialogsOf(Entity* editor, Entity*) {
    for (Entity* dialog : OpenDialogs()) {
        Level** parent = FindVariable<Level*>(dialog, enum_ParentLevel);
        if (parent == nullptr || *parent != editor) continue;
        *parent = nullptr;
        State::SetLevel(dialog->_state, "Quit");
    }
}

bool MakeLevelFolder() {
    if (Globals.userDataFolder[0] == '\0') return false;
    const std::string folder = std::string(Globals.userDataFolder) + "/Levels";
    return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

bool SizesEntered(Level* dialog, int width, int height) {
    if (width != 0 && height != 0) return true;
    ShowMessage(dialog, "Enter a width and a height.");
    return false;
}

bool NameFree(Level* dialog, const std::string& name, const std::string& own) {
    if (std::string why = LevelNameRule::Refusal(name); !why.empty()) {
        ShowMessage(dialog, why);
        return false;
    }
    if (name == own || !LevelCollision::FileExists(name + ".lvl")) return true;
    ShowMessage(dialog, LevelNameRule::Exists(name));
    return false;
}

bool SaveLevelFile(Level* dialog, const LevelCollision& grid, const std::string& name) {
    if (MakeLevelFolder() && grid.Save(name + ".lvl")) return true;
    ShowMessage(dialog, LevelNameRule::SaveFailed(name));
    return false;
}

int ClampSize(int cells) { return std::clamp(cells, kSmallest, kLargest); }

void TakeSize(Level* editor, Entity* by, int width, int height) {
    LevelData::LevelEditor::Variables* v = LevelData::LevelEditor::Find(editor);
    if (v == nullptr) return;
    v->GridWidth = width;
    v->GridHeight = height;
    // The view goes back to column 0; the first layout puts it on row 0.
    LevelTemplate::SetIfPresent(editor->GetMyObject("GSliderH"), enum_value, 0.0f);
    LevelData::LevelEditor::LayOutView(editor, true, by);
}


}  // namespace EditorDialog
