#include "editor/OpenLevelList.h"

#include <algorithm>

#include "editor/LevelNameRule.h"
#include "framework/FileListing.h"
#include "framework/Globals.h"
#include "framework/Object.h"
#include "platform/input/Mouse.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::OpenLevelList {

namespace {

VariableOffsetTable table;

constexpr char kExtension[] = ".lvl";

// Lays the rows t to t + 39 out again when t has changed since the last time.
void Refresh(Variables& v) {
    const int first = FirstShown(v);
    if (first == v.oldSliderValue) return;
    v.oldSliderValue = first;
    Text::Variables* text = Text::Find(v.levelList);
    if (text == nullptr) return;
    text->text.clear();
    const int count = static_cast<int>(v.levelNames.size());
    for (int i = first; i < std::min(first + kRows, count); ++i) {
        text->text += v.levelNames[static_cast<std::size_t>(i)];
        text->text += '\n';
    }
    Widgets::RaiseOwn(v.levelList, "CalcText", nullptr);
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.levelSlider = Object::MakeCopy(self->_state, "VSlider", "");
    // The bar is worked with the pointer; Tab goes between the dialog's buttons only.
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.levelSlider))
        for (Object* part : {bar->highButton, bar->lowButton, bar->dragButton})
            if (part != nullptr) Widgets::RaiseOwn(part, "RemoveTabbing", self);
    v.texture = "Stencil Back";
    v.collision.Clear();
    Widgets::AddUnitBox(v.collision);
    v.levelList = Object::MakeCopy(self->_state, "Text", "");
    if (Text::Variables* t = Text::Find(v.levelList)) {
        t->settings.fixedWidth = false;
        t->settings.multiLine = true;
        t->settings.hAlign = 0;
        t->settings.vAlign = 0;
        t->settings.font = "ashleyscriptmtstd";
        // Light letters on the dark plate.
        t->settings.colorize = true;
        t->settings.primaryColor = 0xFFEAE6FFu;
        t->text = "Namen";
        Widgets::RaiseOwn(v.levelList, "CalcText", self);
    }
}

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const int count = static_cast<int>(v.levelNames.size());
    // One step a row; the bar's top shows the first entry. An empty list
    // gets a frozen bar rather than a range that ends below its start.
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.levelSlider)) bar->value = 0.0f;
    Widgets::ScrollBar::FitToList(v.levelSlider, self, v.position, v.size, count);
    v.oldSliderValue = -1;  // forces the first refresh
    if (Text::Variables* t = Text::Find(v.levelList)) {
        t->settings.x = v.position.x;
        t->settings.y = v.position.y;
        t->settings.z = v.position.z + 2.0f;
        t->settings.width = v.size.x * 0.94f;
        t->settings.height = v.size.y;
        t->settings.charHeight = v.size.y / static_cast<float>(kRows);
        t->text.clear();
    }
    Refresh(v);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (Mouse.Triggered(0)) {
        Entity* cursor = Widgets::FindCursor(self);
        if (cursor != nullptr && collisionEngine.Check(self, cursor) && v.size.y > 0.0f) {
            const D3DXVECTOR3* at = FindVariable<D3DXVECTOR3>(cursor, enum_position);
            const float y = at != nullptr ? at->y : v.position.y;
            const float row = (y - v.position.y + v.size.y * 0.5f) * static_cast<float>(kRows) / v.size.y;
            v.selectedLevel = std::clamp(static_cast<int>(row), 0, kRows - 1);
            const int entry = FirstShown(v) + (kRows - 1 - v.selectedLevel);
            if (entry >= 0 && entry < static_cast<int>(v.levelNames.size()))
                v.clickedLevel = v.levelNames[static_cast<std::size_t>(entry)];
        } else {
            v.selectedLevel = -1;
        }
    }
    Refresh(v);
}

// The plate, and a see-through yellow bar, which keeps the light name on it
// readable, over the row that shows the chosen entry (none while it is
// scrolled out of sight).
void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Widgets::DrawPicture(v.position.x, v.position.y, v.position.z, v.size.x, v.size.y, v.texture, 0xFFFFFFFFu);
    const auto chosen = std::find(v.levelNames.begin(), v.levelNames.end(), v.clickedLevel);
    if (chosen == v.levelNames.end()) return;
    const int fromTop = static_cast<int>(chosen - v.levelNames.begin()) - FirstShown(v);
    if (fromTop < 0 || fromTop >= kRows) return;
    const float rowHeight = v.size.y / static_cast<float>(kRows);
    const int fromBottom = kRows - 1 - fromTop;
    Widgets::DrawPicture(v.position.x, v.position.y - v.size.y / 2.0f + (static_cast<float>(fromBottom) + 0.5f) * rowHeight,
                         v.position.z + 1.0f, v.size.x, rowHeight, "white", 0x80FFFF00u);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

int FirstShown(const Variables& v) { return Widgets::ScrollBar::FirstShown(v.levelSlider); }

void ListLevelFiles(Variables& v) {
    v.levelNames.clear();
    if (Globals.userDataFolder[0] == '\0') return;
    std::vector<std::string> files;
    std::vector<std::int64_t> times;
    DLL::FindAllFiles((std::string(Globals.userDataFolder) + "/Levels/").c_str(), "lvl", files, times);
    // The editor reads and writes a level as its name followed by ".lvl"
    // (saving, the test play's goal, the way back): only files it will save
    // under the same name are offered, and only valid level names.
    const std::size_t n = sizeof kExtension - 1;
    for (std::string& file : files) {
        if (file.size() <= n || file.compare(file.size() - n, n, kExtension) != 0) continue;
        if (LevelNameRule::IsValid(file.substr(0, file.size() - n))) v.levelNames.push_back(std::move(file));
    }
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "OpenLevelList", table);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_levelList, v.levelList);
    BindVariable(table, *prototype, enum_oldSliderValue, v.oldSliderValue);
    BindVariable(table, *prototype, enum_levelSlider, v.levelSlider);
    BindVariable(table, *prototype, enum_clickedLevel, v.clickedLevel);
    BindVariable(table, *prototype, enum_levelNames, v.levelNames);
    BindVariable(table, *prototype, enum_selectedLevel, v.selectedLevel);
    BindVariable(table, *prototype, enum_collision, v.collision);
}

}  // namespace ObjectData::OpenLevelList
