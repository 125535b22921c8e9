#include "editor/EditorDialog.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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
// The message line's letters: the height of one line in the window's
// pixels, and their colour.
constexpr float kMessagePixels = 16.0f;
constexpr std::uint32_t kMessageColour = 0xFF3E0818u;

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
    v.enteredWidth = ReadSize(BoxText(level, "GridWidthTextBox")).value_or(0);
    v.enteredHeight = ReadSize(BoxText(level, "GridHeightTextBox")).value_or(0);
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
    // What went wrong with the last confirm: up to two lines in the band
    // along the window's top, which every dialog keeps clear, in the
    // interface's plain letters, dark on the light backdrop.
    if (TextSettings* s = MenuScreen::TextOf(LevelTemplate::SpawnIn(level->_state, "Text", kMessage), "")) {
        const float pixel = 1.0f / Widgets::WindowHeight();
        s->font = "default";
        s->hAlign = 1;
        s->vAlign = 0;
        s->multiLine = true;
        s->fixedWidth = false;
        s->charHeight = kMessagePixels * pixel;
        s->x = 0.0f;
        s->width = Widgets::WindowAspect() - 24.0f * pixel;
        s->height = 2.0f * s->charHeight;
        s->y = 0.5f - 4.0f * pixel - s->height / 2.0f;
        s->z = 5.0f;
        s->colorize = true;
        s->primaryColor = kMessageColour;
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

void PlaceButton(Object* object, float x, float y, float w, float h, const char* texture,
                 void (*logic)(Entity*, Entity*)) {
    ObjectData::Button::Variables& v = VariablesOf<ObjectData::Button::Variables>(object);
    v.position = D3DXVECTOR3(x, y, 0.0f);
    v.size = D3DXVECTOR2(w, h);
    v.texture = texture;
    object->AddEvent("Logic", logic);
}

void Label(const char* text, float x, float y, float charHeight, float width, bool multiLine, int hAlign) {
    TextSettings* s = MenuScreen::TextOf(LevelTemplate::Spawn("Text"), text);
    if (s == nullptr) return;
    s->font = "ashleyscriptmtstd";
    s->fixedWidth = false;
    s->hAlign = hAlign;
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

void FillBox(Entity* level, const char* name, const std::string& text) {
    ObjectData::SingleLineTextBox::Variables* b = ObjectData::SingleLineTextBox::Find(level->GetMyObject(name));
    ObjectData::Text::Variables* t = ObjectData::Text::Find(b != nullptr ? b->textObject : nullptr);
    if (t == nullptr) return;
    t->text = text;
    // Nothing is selected until the box has the focus; then all of it is.
    t->settings.selectedStart = t->settings.cursorLoc = static_cast<std::int32_t>(text.size());
    b->selectAllOnFocus = true;
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
    const ObjectData::Grid::StartCheck start = ObjectData::Grid::KeepOneStart(g.grid, g.StartPos);
    editor.vars->LevelName = name;
    EditorLevelName = name;
    TakeSize(editor.level, button, g.grid.GetWidth(), g.grid.GetHeight());
    LevelData::LevelEditor::MarkSaved(editor.level);
    LevelData::LevelEditor::ShowMessage(editor.level,
                                        LevelData::LevelEditor::OpenedNote(g.grid, start.placed, start.removed));
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

std::optional<int> ReadSize(const std::string& text) {
    if (text.empty()) return std::nullopt;
    // Beyond six digits no size is near the range; the number itself does not matter.
    if (text.size() > 6) return INT_MAX;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string SizeRange() { return std::to_string(kSmallest) + " to " + std::to_string(kLargest); }

bool SizesInRange(Level* dialog, int& width, int& height) {
    const std::optional<int> w = ReadSize(BoxText(dialog, "GridWidthTextBox"));
    const std::optional<int> h = ReadSize(BoxText(dialog, "GridHeightTextBox"));
    if (!w || !h) {
        ShowMessage(dialog, "Enter a width and a height.");
        return false;
    }
    const bool wideOk = *w >= kSmallest && *w <= kLargest, highOk = *h >= kSmallest && *h <= kLargest;
    if (!wideOk || !highOk) {
        const char* which = !wideOk && !highOk ? "The width and the height" : (!wideOk ? "The width" : "The height");
        ShowMessage(dialog, std::string(which) + " must be " + SizeRange() + " cells.");
        return false;
    }
    width = *w;
    height = *h;
    return true;
}

bool NameFree(Level* dialog, const std::string& name, const std::string& own) {
    if (std::string why = LevelNameRule::Refusal(name); !why.empty()) {
        ShowMessage(dialog, why);
        return false;
    }
    if (name == own || !LevelCollision::FileExists(name + ".lvl")) return true;
    ShowMessage(dialog, LevelNameRule::Exists());
    return false;
}

bool SaveLevelFile(Level* dialog, const LevelCollision& grid, const std::string& name) {
    if (MakeLevelFolder() && grid.Save(name + ".lvl")) return true;
    ShowMessage(dialog, LevelNameRule::SaveFailed());
    return false;
}

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
