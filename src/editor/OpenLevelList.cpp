#include "editor/OpenLevelList.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "editor/LevelNameRule.h"
#include "framework/FileListing.h"
#include "framework/Globals.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/graphics/Text.h"
#include "platform/input/Mouse.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::OpenLevelList {

namespace {

VariableOffsetTable table;

constexpr char kExtension[] = ".lvl";

// How far the plate reaches beyond the rows, in window pixels: above and
// below them, and at each side.
constexpr float kPlateEndPixels = 12.0f;
constexpr float kPlateSidePixels = 6.0f;

// The name as it fits one row of the list: cut short with "..." when its
// letters would not fit the row (and so would break onto the next one).
std::string FitToRow(const std::string& name, const TextSettings& list) {
    if (list.charHeight <= 0.0f) return name;
    TextSettings one = list;
    one.multiLine = false;
    one.information = nullptr;
    TextData layout;
    // In letter heights, as the layout counts a line's room: whole ones only.
    const float room = std::trunc(list.width / list.charHeight) - 0.5f;
    auto wide = [&](const std::string& text) {
        CalcCharacterWidths(text, one, layout);
        float sum = 0.0f;
        for (std::size_t i = 0; i < text.size() && i < layout.letterWidths.size(); ++i) sum += layout.letterWidths[i];
        return sum;
    };
    if (wide(name) <= room) return name;
    std::string cut = name;
    while (!cut.empty() && wide(cut + "...") > room) cut.pop_back();
    return cut + "...";
}

// Lays the rows shown out again when the first of them has changed since
// the last time.
void Refresh(Variables& v) {
    const int first = FirstShown(v);
    if (first == v.oldSliderValue) return;
    v.oldSliderValue = first;
    Text::Variables* text = Text::Find(v.levelList);
    if (text == nullptr) return;
    text->text.clear();
    const int count = static_cast<int>(v.levelNames.size());
    for (int i = first; i < std::min(first + Rows(v), count); ++i) {
        text->text += FitToRow(ShownName(v.levelNames[static_cast<std::size_t>(i)]), text->settings);
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
        // The interface's plain letters, light on the dark plate.
        t->settings.font = "default";
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
        t->settings.charHeight = v.size.y / static_cast<float>(Rows(v));
        t->text.clear();
    }
    Refresh(v);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (Mouse.Triggered(0)) {
        Entity* cursor = Widgets::FindCursor(self);
        int pressed = -1;
        if (cursor != nullptr && collisionEngine.Check(self, cursor) && v.size.y > 0.0f) {
            const int rows = Rows(v);
            const D3DXVECTOR3* at = FindVariable<D3DXVECTOR3>(cursor, enum_position);
            const float y = at != nullptr ? at->y : v.position.y;
            const float row = (y - v.position.y + v.size.y * 0.5f) * static_cast<float>(rows) / v.size.y;
            v.selectedLevel = std::clamp(static_cast<int>(row), 0, rows - 1);
            const int entry = FirstShown(v) + (rows - 1 - v.selectedLevel);
            if (entry >= 0 && entry < static_cast<int>(v.levelNames.size())) {
                v.clickedLevel = v.levelNames[static_cast<std::size_t>(entry)];
                pressed = entry;
            }
        } else {
            v.selectedLevel = -1;
        }
        // A second press on the same entry within the double-click time opens it.
        const bool again = pressed >= 0 && pressed == v.pressedEntry && Mouse.DoubleClick();
        v.pressedEntry = again ? -1 : pressed;
        if (again && self->_state != nullptr) Entity::_DoEvent("OpenChosen", self, self->_state->GetLevel());
    }
    Refresh(v);
}

// The plate, with a margin around the rows so that the top row's letters
// and the bar over it stand clear of its rounded edge, and a see-through
// yellow bar, which keeps the light name on it readable, over the row that
// shows the chosen entry (none while it is scrolled out of sight).
void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    const float pixel = Widgets::WindowHeight() > 0.0f ? 1.0f / Widgets::WindowHeight() : 0.0f;
    Widgets::DrawPicture(v.position.x, v.position.y, v.position.z, v.size.x + 2.0f * kPlateSidePixels * pixel,
                         v.size.y + 2.0f * kPlateEndPixels * pixel, v.texture, 0xFFFFFFFFu);
    const auto chosen = std::find(v.levelNames.begin(), v.levelNames.end(), v.clickedLevel);
    if (chosen == v.levelNames.end()) return;
    const int rows = Rows(v);
    const int fromTop = static_cast<int>(chosen - v.levelNames.begin()) - FirstShown(v);
    if (fromTop < 0 || fromTop >= rows) return;
    const float rowHeight = v.size.y / static_cast<float>(rows);
    const int fromBottom = rows - 1 - fromTop;
    Widgets::DrawPicture(v.position.x,
                         v.position.y - v.size.y / 2.0f + (static_cast<float>(fromBottom) + 0.5f) * rowHeight,
                         v.position.z + 1.0f, v.size.x, rowHeight, "white", 0x80FFFF00u);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

int FirstShown(const Variables& v) { return Widgets::ScrollBar::FirstShown(v.levelSlider); }

int Rows(const Variables& v) {
    const float pixels = v.size.y * Widgets::WindowHeight();
    return std::max(1, static_cast<int>(pixels / kRowPixels + 0.001f));
}

std::string ShownName(const std::string& file) {
    const std::size_t n = sizeof kExtension - 1;
    return file.size() > n && file.compare(file.size() - n, n, kExtension) == 0 ? file.substr(0, file.size() - n)
                                                                                : file;
}

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
    // By name as a reader looks for it, whatever the case of its letters.
    auto folded = [](const std::string& name) {
        std::string f = name;
        for (char& c : f) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return f;
    };
    std::sort(v.levelNames.begin(), v.levelNames.end(), [&](const std::string& a, const std::string& b) {
        const std::string fa = folded(ShownName(a)), fb = folded(ShownName(b));
        return fa != fb ? fa < fb : a < b;
    });
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
