#include "widgets/CustomLevelSelector.h"

#include <algorithm>
#include <utility>

#include "framework/BuiltInLevels.h"
#include "framework/FileListing.h"
#include "framework/Globals.h"
#include "framework/Object.h"
#include "widgets/Button.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::CustomLevelSelector {

namespace {

VariableOffsetTable table;

// One list: its rows, its bar, its panel and its entries.
struct Side {
    Object** rows;
    Object* slider;
    const D3DXVECTOR3& panel;
    std::vector<std::int32_t>& names;
    std::int32_t& selected;
};

Side Left(Variables& v) {
    return {v.stencilListLeft, v.stencilSliderLeft, v.positionLeft, v.leftNames, v.leftSelected};
}
Side Right(Variables& v) {
    return {v.stencilListRight, v.stencilSliderRight, v.positionRight, v.rightNames, v.rightSelected};
}

using Widgets::ScrollBar::FirstShown;

// The selector a row or a move button belongs to.
Entity* MasterOf(Entity* button) {
    Entity** master = FindVariable<Entity*>(button, enum_master);
    return master != nullptr ? *master : nullptr;
}

void Select(Entity* row, bool left) {
    Variables* v = Find(MasterOf(row));
    if (v == nullptr) return;
    Side side = left ? Left(*v) : Right(*v);
    const std::uint32_t number = VariablesOf<TextButton::Variables>(row).color;
    if (number == 0) return;
    side.selected = FirstShown(side.slider) + static_cast<int>(number) - 1;
}

void LeftLogic(Entity* self, Entity*) { Select(self, true); }
void RightLogic(Entity* self, Entity*) { Select(self, false); }

bool Valid(const Side& side) { return side.selected >= 0 && side.selected < static_cast<int>(side.names.size()); }

// Moves the selected entry of `from` to the end of `to`.
void Across(Entity* button, bool toRight) {
    Entity* master = MasterOf(button);
    Variables* v = Find(master);
    if (v == nullptr) return;
    Side from = toRight ? Left(*v) : Right(*v);
    Side to = toRight ? Right(*v) : Left(*v);
    if (!Valid(from)) return;
    const int s = from.selected;
    if (s == static_cast<int>(from.names.size()) - 1) from.selected = s - 1;
    to.names.push_back(from.names[static_cast<std::size_t>(s)]);
    from.names.erase(from.names.begin() + s);
    Widgets::RaiseOwn(master, "Init", button);
}

void MoveRightLogic(Entity* self, Entity*) { Across(self, true); }
void MoveLeftLogic(Entity* self, Entity*) { Across(self, false); }

// Swaps the right list's selected entry with its neighbour `by` (-1 up, +1
// down), scrolling the list when the selection leaves the rows shown.
void Shift(Entity* button, int by) {
    Entity* master = MasterOf(button);
    Variables* v = Find(master);
    if (v == nullptr) return;
    Side side = Right(*v);
    const int i = side.selected;
    const int j = i + by;
    if (!Valid(side) || j < 0 || j >= static_cast<int>(side.names.size())) return;
    std::swap(side.names[static_cast<std::size_t>(i)], side.names[static_cast<std::size_t>(j)]);
    side.selected = j;
    const int first = FirstShown(side.slider);
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(side.slider)) {
        if (by < 0 && i == first) bar->value -= 1.0f;
        if (by > 0 && i == first + kRows - 1) bar->value += 1.0f;
    }
    Widgets::RaiseOwn(master, "Init", button);
}

void MoveUpLogic(Entity* self, Entity*) { Shift(self, -1); }
void MoveDownLogic(Entity* self, Entity*) { Shift(self, 1); }

Object* MakeMoveButton(Entity* self, float x, float y, void (*logic)(Entity*, Entity*), const char* texture) {
    Object* b = Object::MakeCopy(self->_state, "Button", "");
    if (b == nullptr) return nullptr;
    Button::Variables& bv = VariablesOf<Button::Variables>(b);
    bv.position.x = x;
    bv.position.y = y;
    bv.size = {0.06f, 0.06f};
    b->SetEvent("Logic", logic);
    bv.master = self;
    bv.texture = texture;
    return b;
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.stencilSliderLeft = Object::MakeCopy(self->_state, "VSlider", "");
    v.stencilSliderRight = Object::MakeCopy(self->_state, "VSlider", "");

    const float m = (v.positionLeft.x + v.positionRight.x) * 0.5f;
    const float side = v.positionRight.x + v.size.x * 0.5f + 0.07f;
    v.rightButton = MakeMoveButton(self, m + 0.02f, v.positionLeft.y + 0.07f, &MoveRightLogic, "slider right");
    v.leftButton = MakeMoveButton(self, m + 0.02f, v.positionLeft.y - 0.07f, &MoveLeftLogic, "slider left");
    v.upButton = MakeMoveButton(self, side, v.positionLeft.y + 0.07f, &MoveUpLogic, "slider up");
    v.downButton = MakeMoveButton(self, side, v.positionLeft.y - 0.07f, &MoveDownLogic, "slider down");

    const float h = v.size.y / static_cast<float>(kRows);
    for (int k = 0; k < kRows; ++k) {
        for (bool left : {true, false}) {
            Object* row = Object::MakeCopy(self->_state, "ListButton", "");
            (left ? v.stencilListLeft : v.stencilListRight)[k] = row;
            if (row == nullptr) continue;
            const D3DXVECTOR3& panel = left ? v.positionLeft : v.positionRight;
            TextButton::Variables& r = VariablesOf<TextButton::Variables>(row);
            r.size = {v.size.x - 0.02f, h};
            r.position.x = panel.x;
            r.position.y = panel.y + v.size.y * 0.5f - h * 0.5f - static_cast<float>(k) * h;
            r.master = self;
            // The selector runs the rows; a row joins the focus order only while it shows an entry.
            row->RemoveFromEngine("Behavior");
            row->SetEvent("Logic", left ? &LeftLogic : &RightLogic);
            Widgets::RaiseOwn(row, "RemoveTabbing", self);
            r.color = 0;
        }
    }

    v.levelNames.clear();
    v.levelIdentifiers.clear();
    for (std::size_t i = 0; i < BuiltInLevelNames.size(); ++i) {
        v.levelNames.emplace_back(BuiltInLevelNames[i]);
        v.levelIdentifiers.push_back(static_cast<std::int32_t>(i));
    }
    if (Globals.userDataFolder[0] != '\0') {
        std::vector<std::string> files;
        std::vector<std::int64_t> times;
        DLL::FindAllFiles((std::string(Globals.userDataFolder) + "/Levels/").c_str(), "lvl", files, times);
        for (std::string& file : files) {
            v.levelNames.push_back(std::move(file));
            v.levelIdentifiers.push_back(-1);
        }
    }
    v.leftNames.clear();
    for (std::size_t i = 0; i < v.levelNames.size(); ++i) v.leftNames.push_back(static_cast<std::int32_t>(i));
    v.rightNames.clear();

    for (Object* slider : {v.stencilSliderLeft, v.stencilSliderRight}) {
        if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(slider)) bar->value = 0.0f;
        if (slider != nullptr) slider->RemoveFromEngine("Behavior");
    }
}

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    for (const Side& side : {Left(v), Right(v)}) {
        // The value is the first row shown: 0 to length - 5 in whole steps.
        Widgets::ScrollBar::FitToList(side.slider, self, side.panel, v.size,
                                      static_cast<int>(side.names.size()) - (kRows - 1));
    }
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    for (Object* slider : {v.stencilSliderLeft, v.stencilSliderRight})
        if (slider != nullptr) Widgets::RaiseOwn(slider, "Behavior", self);

    for (const Side& side : {Left(v), Right(v)}) {
        const int first = FirstShown(side.slider);
        for (int k = 0; k < kRows; ++k) {
            Object* row = side.rows[k];
            if (row == nullptr) continue;
            TextButton::Variables& r = VariablesOf<TextButton::Variables>(row);
            Text::Variables* caption = Text::Find(r.textObj);
            const int i = first + k;
            const bool inside = i >= 0 && i < static_cast<int>(side.names.size());
            if (r.color != 0 && !inside) {
                r.color = 0;
                Widgets::RaiseOwn(row, "RemoveTabbing", self);
            } else if (r.color == 0 && inside) {
                r.color = static_cast<std::uint32_t>(k + 1);
                Widgets::RaiseOwn(row, "AddTabbing", self);
            }
            if (inside) {
                const std::int32_t entry = side.names[static_cast<std::size_t>(i)];
                const bool known = entry >= 0 && entry < static_cast<std::int32_t>(v.levelNames.size());
                if (caption != nullptr) caption->text = known ? v.levelNames[static_cast<std::size_t>(entry)] : "";
                Widgets::RaiseOwn(row, "Behavior", self);
            } else if (caption != nullptr) {
                caption->text.clear();
            }
            if (caption != nullptr) caption->settings.colorize = i == side.selected;
        }
    }
}

// Each panel's picture, then a pale veil inside its rim: the rows' names are
// drawn in dark ink (the chosen one in red), which the dark picture alone
// left all but unreadable.
void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    constexpr float kRim = 0.012f;
    for (const D3DXVECTOR3& panel : {v.positionLeft, v.positionRight}) {
        Widgets::DrawPicture(panel.x, panel.y, panel.z, v.size.x, v.size.y, v.texture, 0xFFFFFFFFu);
        Widgets::DrawPicture(panel.x, panel.y, panel.z + 1.0f, v.size.x - 2.0f * kRim, v.size.y - 2.0f * kRim, "white",
                             0xD8DCD8EEu);
    }
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "CustomLevelSelector", table);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("MoveRightLogic", &MoveRightLogic);
    prototype->_AddEvent("MoveLeftLogic", &MoveLeftLogic);
    prototype->_AddEvent("MoveUpLogic", &MoveUpLogic);
    prototype->_AddEvent("MoveDownLogic", &MoveDownLogic);
    prototype->_AddEvent("LeftLogic", &LeftLogic);
    prototype->_AddEvent("RightLogic", &RightLogic);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_positionLeft, v.positionLeft);
    BindVariable(table, *prototype, enum_positionRight, v.positionRight);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_stencilListLeft, v.stencilListLeft);
    BindVariable(table, *prototype, enum_stencilListRight, v.stencilListRight);
    BindVariable(table, *prototype, enum_stencilSliderLeft, v.stencilSliderLeft);
    BindVariable(table, *prototype, enum_stencilSliderRight, v.stencilSliderRight);
    // The left, up and down buttons have no program-wide numbers: they are
    // reached through the record.
    BindVariable(table, *prototype, enum_rightButton, v.rightButton);
    BindVariable(table, *prototype, enum_levelNames, v.levelNames);
    BindVariable(table, *prototype, enum_levelIdentifiers, v.levelIdentifiers);
    BindVariable(table, *prototype, enum_leftNames, v.leftNames);
    BindVariable(table, *prototype, enum_rightNames, v.rightNames);
    BindVariable(table, *prototype, enum_leftSelected, v.leftSelected);
    BindVariable(table, *prototype, enum_rightSelected, v.rightSelected);
}

}  // namespace ObjectData::CustomLevelSelector
