#include "editor/LevelEditor.h"

#include <algorithm>
#include <utility>

#include "editor/EditorDialog.h"
#include "editor/EditorTools.h"
#include "editor/Grid.h"
#include "framework/Engine.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/State.h"
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
    {0, "nothing"},       {1, "grassDirt00"}, {2, "mud00"},       {3, "spikes"},       {4, "spikes2"},
    {5, "spikes3"},       {6, "spikes4"},     {7, "breakableDirt00"},
    {100, "firefly"},     {101, "levelStart"}, {102, "levelGoal"}, {103, "levelCheck"}, {104, "spring"},
    {105, "sideSpring"},  {106, "sideSpring2"}, {107, "spdBoost"}, {108, "moonShard"},
};

constexpr std::pair<int, const char*> kNames[] = {
    {0, "No Collision"},     {1, "Grass Tile"},         {2, "Dirt Tile"},          {3, "Spikes (Up)"},
    {4, "Spikes (Right)"},   {5, "Spikes (Down)"},      {6, "Spikes (Left)"},      {7, "Breakable Tile"},
    {100, "Fireflies"},      {101, "Level Start"},      {102, "Level Goal"},       {103, "Checkpoint"},
    {104, "Spring"},         {105, "Spring (Right)"},   {106, "Spring (Left)"},    {107, "Speed Boost"},
    {108, "Moon Shard"},
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
        g.grid.SetCell(g.StartPos, LevelCellValue::LevelStart);
        if (fresh && !LevelCollision::FileExists(file)) {
            if (!g.grid.Save(file)) ShowMessage(self, "Could not save " + file + ": the new level is kept here, unsaved");
        } else {
            ShowMessage(self, "Could not read " + file + ": an empty level is open under its name; the file is " +
                                  "left as it is until you save");
        }
    } else {
        g.StartPos = g.grid.GetStartPos();
    }
    v.GridWidth = g.grid.GetWidth();
    v.GridHeight = g.grid.GetHeight();
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
    // The line for what went wrong with the level file, over the grid.
    SetLabel(self, "EMessage", 0.2f, 0.475f, 0.035f, 1, "");
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(self->GetMyObject("EMessage"))) {
        t->settings.width = 1.1f;
        t->settings.height = 0.05f;
        t->settings.vAlign = 1;
        t->settings.primaryColor = 0xFFB01030u;
    }
    for (const auto& [name, tip] : kToolTips)
        LevelTemplate::SetIfPresent(self->GetMyObject(name), enum_toolTip, std::string(tip));

    if (Object* background = LevelTemplate::SpawnIn(self->_state, "Background"))
        LevelTemplate::SetIfPresent<const char*>(background, enum_texture, "BACK LevelEditor");
    if (D3DXVECTOR3* p = FindVariable<D3DXVECTOR3>(self->GetMyObject("toMMenu"), enum_position)) {
        p->x = 0.65f;
        p->y = -0.4f;
    }

    for (const char*& name : v.objectTextures) name = kUnlistedTexture;
    for (const auto& [value, name] : kTextures) v.objectTextures[value] = name;

    ObjectData::Grid::Variables* g = ObjectData::Grid::Find(self->GetMyObject("EGrid"));
    if (g != nullptr) OpenLevel(self, v, *g);
    LayOutView(self, true);
    self->CallEvent("StartFadingIn");
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(self->GetMyObject("ObjectText"))) {
        if (const char* name = DisplayName(v.SelectedValue)) t->text = name;
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
    if (value < 0 || value >= kTextureCount || v.objectTextures[value] == nullptr) return kUnlistedTexture;
    return v.objectTextures[value];
}

const char* DisplayName(int value) {
    for (const auto& [code, name] : kNames)
        if (code == value) return name;
    return nullptr;
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
    ShowMessage(level, "");
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
