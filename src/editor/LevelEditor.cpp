#include "editor/LevelEditor.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/EditorDialog.h"
#include "editor/EditorTools.h"
#include "editor/Grid.h"
#include "editor/LevelEditorObjectList.h"
#include "framework/Engine.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/State.h"
#include "platform/window/StateWindows.h"
#include "screens/MenuScreen.h"
#include "widgets/Text.h"

namespace LevelData::LevelEditor {

namespace {

VariableOffsetTable table;

// The new level the editor opens when there is none to read.
constexpr int kNewSide = 20;
constexpr float kNewStart = 1.0f;

// The screen's objects, made in this order.
constexpr std::pair<const char*, const char*> kObjects[] = {
    {"MMCursor", "Cursor"},
    {"quitToMainMenu", "toMMenu"},
    {"lvEditorNew", "ENew"},
    {"lvEditorOpen", "EOpen"},
    {"lvEditorSave", "ESave"},
    {"lvEditorPlay", "EPlay"},
    {"lvEditorSaveAs", "ESaveAs"},
    {"lvEditorResize", "EResize"},
    {"lvEditorZoom", "EZoom"},
    {"lvEditorPencil", "EBrushTool"},
    {"lvEditorBox", "EBoxTool"},
    {"lvEditorBucket", "EBucketTool"},
    {"lvEditorMoveButton", "EMoveTool"},
    {"lvEditorGrid", "EGrid"},
    {"LevelEditorObjectList", "EObjList"},
    {"gridSliderH", "GSliderH"},
    {"gridSliderV", "GSliderV"},
    {"Text", "ObjectText"},
    {"Text", "ValidFlagText"},
    {"Text", "EMessage"},
    {"Transition", ""},
};

constexpr std::pair<const char*, const char*> kToolTips[] = {
    {"ENew", "Create a new level"},
    {"EOpen", "Open an existing level"},
    {"ESave", "Save the level"},
    {"ESaveAs", "Save the level with a new name"},
    {"EResize", "Resize the level"},
    {"EPlay", "Test Play the level"},
    {"EZoom", "Zoom the level in and out"},
    {"EBrushTool", "Brush Tool"},
    {"EBoxTool", "Box Tool"},
    {"EBucketTool", "Bucket/Fill Tool"},
    {"EMoveTool", "Move Tool"},
};

constexpr std::pair<int, const char*> kTextures[] = {
    {0, "nothing"},     {1, "grassDirt00"},  {2, "mud00"},           {3, "spikes"},       {4, "spikes2"},
    {5, "spikes3"},     {6, "spikes4"},      {7, "breakableDirt00"}, {100, "firefly"},    {101, "levelStart"},
    {102, "levelGoal"}, {103, "levelCheck"}, {104, "spring"},        {105, "sideSpring"}, {106, "sideSpring2"},
    {107, "spdBoost"},  {108, "moonShard"},
};

constexpr std::pair<int, const char*> kNames[] = {
    {0, "No Collision"},  {1, "Grass Tile"},    {2, "Dirt Tile"},      {3, "Spikes (Up)"},      {4, "Spikes (Right)"},
    {5, "Spikes (Down)"}, {6, "Spikes (Left)"}, {7, "Breakable Tile"}, {100, "Fireflies"},      {101, "Level Start"},
    {102, "Level Goal"},  {103, "Checkpoint"},  {104, "Spring"},       {105, "Spring (Right)"}, {106, "Spring (Left)"},
    {107, "Speed Boost"}, {108, "Moon Shard"},
};

void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    copy->DoEvent("PreLoad");
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
    for (const auto& [type, name] : kObjects) LevelTemplate::SpawnIn(copy->_state, type, name);
    copy->DoEvent("Load");
}

void SetLabel(Entity* self, const char* name, float x, float y, float charHeight, int hAlign, const char* text) {
    ObjectData::Text::Variables* t = ObjectData::Text::Find(self->GetMyObject(name));
    if (t == nullptr) return;
    t->settings.x = x;
    t->settings.y = y;
    t->settings.charHeight = charHeight;
    t->settings.fixedWidth = false;
    t->settings.width = 1.0f;
    t->settings.multiLine = false;
    t->settings.font = "ashleyscriptmtstd";
    t->settings.hAlign = hAlign;
    t->text = text;
}

// A bar's range for `over` cells beyond the view. A level no larger than
// the view freezes the bar (the grid then scrolls nothing along it).
void SetRange(Entity* bar, int over, bool vertical, bool first) {
    float* value = FindVariable<float>(bar, enum_value);
    float* max = FindVariable<float>(bar, enum_max);
    std::int32_t* ticks = FindVariable<std::int32_t>(bar, enum_ticks);
    if (value == nullptr || max == nullptr || ticks == nullptr) return;
    *max = static_cast<float>(over);
    if (*max <= 0.0f) {
        *max = 2.0f;
        *value = 0.0f;
        *ticks = 1;
        return;
    }
    *ticks = static_cast<std::int32_t>(*max) + 1;
    // The first view opens on the bottom rows.
    if (vertical && first) *value = *max;
}

// Opens EditorLevelName into the grid, or makes the level the editor starts
// with. Only a level that does not exist at all is created on disk; one that
// cannot be read is replaced in memory only, so nothing overwrites it.
// Whatever opens has exactly one level start.
void OpenLevel(Entity* self, Variables& v, ObjectData::Grid::Variables& g) {
    const bool fresh = EditorLevelName.empty();
    if (fresh) EditorLevelName = "Default";
    v.LevelName = EditorLevelName;
    const std::string file = v.LevelName + ".lvl";
    bool opened = g.grid.Load(file);
    if (!opened) {
        g.grid = LevelCollision(kNewSide, kNewSide);
        g.grid.ClearUndoStack();
        g.grid.ClearRedoStack();
        g.grid.SetValidFlag(false);
        g.StartPos = D3DXVECTOR2(kNewStart, kNewStart);
    } else {
        g.StartPos = g.grid.GetStartPos();
    }
    const ObjectData::Grid::StartCheck start = ObjectData::Grid::KeepOneStart(g.grid, g.StartPos);
    if (opened) {
        ShowMessage(self, OpenedNote(g.grid, start.placed, start.removed));
    } else if (fresh && !LevelCollision::FileExists(file)) {
        if (!g.grid.Save(file)) ShowMessage(self, "Could not save " + file + ": the new level is kept here, unsaved");
    } else {
        ShowMessage(self, "Could not read " + file + ": an empty level is open under its name; the file is " +
                              "left as it is until you save");
    }
    v.GridWidth = g.grid.GetWidth();
    v.GridHeight = g.grid.GetHeight();
    v.saved = g.grid;
}

void GoToMainMenu(Entity* self, Entity*) { State::SetLevel(self->_state, "MainMenu"); }

// "Main Menu" asks "Are you sure?" (its own first click) only while there
// are unsaved changes; otherwise it leaves at once.
void MainMenuLogic(Entity* self, Entity* other) {
    if (HasUnsavedChanges(self->_state != nullptr ? self->_state->GetLevel() : nullptr))
        Entity::_DoEvent("Super.Logic", other, self);
    else
        MenuScreen::FadeOutTo(self, &GoToMainMenu);
}

// The window's close button: with unsaved changes it asks first, as quitting
// from the licence does; otherwise the editor's window closes.
void WindowClose(Entity* self, Entity*) {
    if (!HasUnsavedChanges(self)) {
        State::SetLevel(self->_state, "Quit");
        return;
    }
    if (State::GetState("QuitWindow") == nullptr) CreateStateByName("QuitWindow");
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    CurrentLevelIndex = -1;

    if (Entity* cursor = self->GetMyObject("Cursor")) {
        LevelTemplate::SetIfPresent<const char*>(cursor, enum_texture, "Cursor A");
        LevelTemplate::SetIfPresent(cursor, enum_visible, false);
    }
    SetLabel(self, "ObjectText", -0.6f, -0.65f, 0.08f, 1, "Grass Tile");
    SetLabel(self, "ValidFlagText", 0.32f, -0.82f, 0.18f, 0, "Completed");
    // The message line over the grid (what was saved, what went wrong, what
    // a level lacks), in the interface's plain letters, dark on the light
    // backdrop.
    SetLabel(self, "EMessage", 0.2f, 0.475f, 0.03f, 1, "");
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(self->GetMyObject("EMessage"))) {
        t->settings.font = "default";
        t->settings.width = 1.1f;
        t->settings.height = 0.05f;
        t->settings.vAlign = 1;
        t->settings.colorize = true;
        t->settings.primaryColor = 0xFF1C1440u;
    }
    for (const auto& [name, tip] : kToolTips)
        LevelTemplate::SetIfPresent(self->GetMyObject(name), enum_toolTip, std::string(tip));

    if (Object* background = LevelTemplate::SpawnIn(self->_state, "Background"))
        LevelTemplate::SetIfPresent<const char*>(background, enum_texture, "BACK LevelEditor");
    if (Entity* toMenu = self->GetMyObject("toMMenu")) {
        if (D3DXVECTOR3* p = FindVariable<D3DXVECTOR3>(toMenu, enum_position)) {
            p->x = 0.65f;
            p->y = -0.4f;
        }
        toMenu->AddEvent("Logic", &MainMenuLogic);
    }

    for (const char*& name : v.objectTextures) name = kUnknownTexture;
    for (const auto& [value, name] : kTextures) v.objectTextures[value] = name;

    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(self->GetMyObject("EGrid"));
    if (g != nullptr) OpenLevel(self, v, *g);
    LayOutView(self, true);
    self->CallEvent("StartFadingIn");
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(self->GetMyObject("ObjectText"))) {
        // The label names the chosen value while its tab shows; the other
        // tab has nothing of its own chosen then.
        const ObjectData::LevelEditorObjectList::Variables* palette =
            ObjectData::LevelEditorObjectList::Find(self->GetMyObject("EObjList"));
        const bool shown =
            palette == nullptr || ObjectData::LevelEditorObjectList::ShowsValue(*palette, v.SelectedValue);
        const char* name = DisplayName(v.SelectedValue);
        if (!shown)
            t->text.clear();
        else if (name != nullptr)
            t->text = name;
    }
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(self->GetMyObject("EGrid"));
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(self->GetMyObject("ValidFlagText")); t && g)
        t->text = g->grid.GetValidFlag() ? "Completed" : "Not Tested";
}

}  // namespace

Variables* Find(Entity* level) {
    return level != nullptr && level->_map == table ? &VariablesOf<Variables>(level) : nullptr;
}

Variables* Of(const Entity* self) {
    return self != nullptr && self->_state != nullptr ? Find(self->_state->GetLevel()) : nullptr;
}

const char* CellTexture(const Variables& v, int value) {
    if (value < 0 || value >= kTextureCount || v.objectTextures[value] == nullptr) return kUnknownTexture;
    return v.objectTextures[value];
}

const char* DisplayName(int value) {
    for (const auto& [code, name] : kNames)
        if (code == value) return name;
    return nullptr;
}

bool KnownValue(int value) { return DisplayName(value) != nullptr; }

std::string OpenedNote(const LevelCollision& grid, bool startPlaced, int startsRemoved) {
    std::string note;
    if (startPlaced) note = "The file had no level start: one was placed; move it where it belongs.";
    if (startsRemoved > 0)
        note = "The file had " + std::to_string(startsRemoved + 1) + " level starts: only one is kept.";
    long long unknown = 0;
    for (int i = 0; i < grid.GetWidth() * grid.GetHeight(); ++i) unknown += KnownValue(grid.GetGrid(i)) ? 0 : 1;
    if (unknown > 0) {
        if (!note.empty()) note += ' ';
        note += std::to_string(unknown) + (unknown == 1 ? " cell holds a value" : " cells hold values") +
                " the editor does not know, marked \"?\" and kept as they are.";
    }
    return note;
}

std::string MissingForPlay(const LevelCollision& grid, D3DXVECTOR2 start) {
    const bool hasStart = grid.GetCell(start) == LevelCellValue::LevelStart;
    bool hasGoal = false;
    for (int i = 0; i < grid.GetWidth() * grid.GetHeight() && !hasGoal; ++i)
        hasGoal = grid.GetGrid(i) == LevelCellValue::LevelGoal;
    if (!hasStart && !hasGoal) return "a level start and a level goal";
    if (!hasStart) return "a level start";
    if (!hasGoal) return "a level goal";
    return std::string();
}

void MarkSaved(Entity* level) {
    Variables* v = Find(level);
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(level != nullptr ? level->GetMyObject("EGrid") : nullptr);
    if (v != nullptr && g != nullptr) v->saved = g->grid;
}

bool HasUnsavedChanges(Entity* level) {
    Variables* v = Find(level);
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(level != nullptr ? level->GetMyObject("EGrid") : nullptr);
    if (v == nullptr || g == nullptr) return false;
    const LevelCollision& now = g->grid;
    const LevelCollision& then = v->saved;
    if (now.GetWidth() != then.GetWidth() || now.GetHeight() != then.GetHeight() ||
        now.GetValidFlag() != then.GetValidFlag())
        return true;
    const int* a = now.GetGridPtr();
    const int* b = then.GetGridPtr();
    const std::size_t n = static_cast<std::size_t>(now.GetWidth()) * static_cast<std::size_t>(now.GetHeight());
    return a != nullptr && b != nullptr && !std::equal(a, a + n, b);
}

void LayOutView(Entity* level, bool first, Entity* raiser) {
    Variables* v = Find(level);
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(level != nullptr ? level->GetMyObject("EGrid") : nullptr);
    if (v == nullptr || g == nullptr) return;
    const int w = std::max(v->ScreenWidth * v->ZoomScale, 1);
    const int h = std::max(v->ScreenHeight * v->ZoomScale, 1);
    v->UnitScaleX = g->size.x / static_cast<float>(w);
    v->UnitScaleY = g->size.y / static_cast<float>(h);
    Entity* vertical = level->GetMyObject("GSliderV");
    Entity* horizontal = level->GetMyObject("GSliderH");
    SetRange(vertical, v->GridHeight - h, true, first);
    SetRange(horizontal, v->GridWidth - w, false, first);
    Entity* by = raiser != nullptr ? raiser : level;
    by->DoEvent("UpdatePosition", vertical);
    by->DoEvent("UpdatePosition", horizontal);
}

namespace {

// Shows the level from column and row (the lowest shown) on, held to the
// level; a frozen bar (the level fits the view that way) stays at 0.
void ShowFrom(Entity* level, int column, int row, Entity* raiser) {
    Variables* v = Find(level);
    if (v == nullptr) return;
    Entity* horizontal = level->GetMyObject("GSliderH");
    Entity* vertical = level->GetMyObject("GSliderV");
    auto place = [](Entity* bar, int offset, bool fromMax) {
        float* value = FindVariable<float>(bar, enum_value);
        const float* max = FindVariable<float>(bar, enum_max);
        const std::int32_t* ticks = FindVariable<std::int32_t>(bar, enum_ticks);
        if (value == nullptr || max == nullptr || ticks == nullptr || *ticks == 1) return;
        const float held = std::clamp(static_cast<float>(offset), 0.0f, std::floor(*max));
        *value = fromMax ? *max - held : held;
    };
    place(horizontal, column, false);
    place(vertical, row, true);
    Entity* by = raiser != nullptr ? raiser : level;
    by->DoEvent("UpdatePosition", vertical);
    by->DoEvent("UpdatePosition", horizontal);
}

}  // namespace

void SetZoom(Entity* level, int zoom, Entity* raiser) {
    Variables* v = Find(level);
    Entity* gridObject = level != nullptr ? level->GetMyObject("EGrid") : nullptr;
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(gridObject);
    if (v == nullptr || g == nullptr || zoom < 1 || zoom > kMaxZoom) return;
    int column = 0, row = 0;
    ObjectData::Grid::ScrollOffsets(gridObject, column, row);
    // The cell under the view's centre, in cells from the level's corner
    // (the one the last zoom kept while the view has not moved since).
    double centreX = column + v->ScreenWidth * v->ZoomScale / 2.0;
    double centreY = row + v->ScreenHeight * v->ZoomScale / 2.0;
    if (column == v->zoomColumn && row == v->zoomRow) {
        centreX = v->zoomCentre.x;
        centreY = v->zoomCentre.y;
    }
    v->ZoomScale = zoom;
    g->tex = zoom == 1 ? g->grid11 : (zoom == 2 ? g->grid12 : g->grid14);
    LayOutView(level, false, raiser);
    ShowFrom(level, static_cast<int>(std::lround(centreX - v->ScreenWidth * zoom / 2.0)),
             static_cast<int>(std::lround(centreY - v->ScreenHeight * zoom / 2.0)), raiser);
    ObjectData::Grid::ScrollOffsets(gridObject, v->zoomColumn, v->zoomRow);
    v->zoomCentre = D3DXVECTOR2(static_cast<float>(centreX), static_cast<float>(centreY));
}

void ScrollView(Entity* level, int columns, int rows, Entity* raiser) {
    int column = 0, row = 0;
    ObjectData::Grid::ScrollOffsets(level != nullptr ? level->GetMyObject("EGrid") : nullptr, column, row);
    ShowFrom(level, column + columns, row + rows, raiser);
}

bool SaveLevel(Entity* level) {
    Variables* v = Find(level);
    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(level != nullptr ? level->GetMyObject("EGrid") : nullptr);
    if (v == nullptr || g == nullptr) return false;
    // A block lifted by the move tool is put down first: saved while lifted,
    // its cells would be written as empty.
    EditorTools::DropLiftedBlock(level);
    const std::string file = v->LevelName + ".lvl";
    if (!g->grid.Save(file)) {
        ShowMessage(level, "Could not save " + file + ": the level is kept here, unsaved");
        return false;
    }
    v->saved = g->grid;
    ShowMessage(level, "Saved " + v->LevelName + ".");
    return true;
}

void ShowMessage(Entity* level, const std::string& text) {
    if (level == nullptr) return;
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(level->GetMyObject("EMessage"))) t->text = text;
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("LevelEditor", table, &Copy, &Entity::_CallUnload);
    prototype->_AddEvent("PreLoad", Event());
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Update", &Update);
    // Leaving the editor closes the dialogs it opened.
    prototype->_AddEvent("Unload", &EditorDialog::CloseDialogsOf);
    prototype->_AddEvent("Restart", Event());
    prototype->_AddEvent("WindowClose", &WindowClose);
    LevelTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const Entity& p = *prototype;
    BindVariable(table, p, enum_objectTextures, v.objectTextures);
    BindVariable(table, p, enum_LevelToLoad, v.LevelToLoad);
    BindVariable(table, p, enum_LevelName, v.LevelName);
    BindVariable(table, p, enum_ZoomScale, v.ZoomScale);
    BindVariable(table, p, enum_UnitScaleX, v.UnitScaleX);
    BindVariable(table, p, enum_UnitScaleY, v.UnitScaleY);
    BindVariable(table, p, enum_GridWidth, v.GridWidth);
    BindVariable(table, p, enum_GridHeight, v.GridHeight);
    BindVariable(table, p, enum_ScreenWidth, v.ScreenWidth);
    BindVariable(table, p, enum_ScreenHeight, v.ScreenHeight);
    BindVariable(table, p, enum_ToolCursor, v.ToolCursor);
    BindVariable(table, p, enum_SelectedValue, v.SelectedValue);
    return prototype;
}

}  // namespace LevelData::LevelEditor
