#include "stencil/StencilMenu.h"

#include "framework/Object.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Mouse.h"
#include "stencil/StencilRows.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::StencilMenu {

namespace {

VariableOffsetTable table;

constexpr float kFirstRowY = 0.4f;
constexpr float kRowStep = 0.025f;
const D3DXVECTOR2 kRowSize{0.2f, 0.025f};

int NameCount(const Variables& v) { return static_cast<int>(v.stencilNames.size()); }

// A row shows a name while the entry it stands for exists. Name rows can be
// chosen; empty rows show their plain colour only.
bool ShowsName(const Variables& v, int row) { return FirstShown(v) + row < NameCount(v); }

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.stencilSlider = Object::MakeCopy(self->_state, "VSlider", "");
    v.texture = "Stencil Back";
    v.collision.AddRectangle(-0.5f, 0.5f, 0.5f, -0.5f);
    v.stencilName = Object::MakeCopy(self->_state, "Text", "");
    if (Text::Variables* t = Text::Find(v.stencilName)) {
        t->settings.fixedWidth = false;
        t->settings.multiLine = false;
        t->settings.hAlign = 1;
        t->settings.vAlign = 1;
        t->settings.charHeight = 30.0f / Widgets::WindowHeight();
        t->text = "Namen";
        Widgets::RaiseOwn(v.stencilName, "CalcText", self);
    }
}

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const int n = NameCount(v);
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.stencilSlider)) {
        bar->size = D3DXVECTOR2(20.0f / Widgets::WindowHeight(), v.size.y);
        bar->position = D3DXVECTOR3(v.position.x + 0.115f, v.position.y, 10.0f);
        // One step per entry past the first 33: the bar's end shows the last 33.
        if (n < kRows) {
            bar->max = 0.0f;
            bar->ticks = 1;
        } else {
            bar->max = static_cast<float>(n - 32) - 0.0001f;
            bar->ticks = static_cast<std::int32_t>(bar->max) + 1;
        }
        bar->value = 0.0f;
        Widgets::RaiseOwn(v.stencilSlider, "UpdatePosition", self);
    }
    if (Text::Variables* t = Text::Find(v.stencilName)) {
        TextSettings& s = t->settings;
        s.x = v.position.x;
        s.y = v.position.y + v.size.y / 2.0f + s.charHeight - 0.03f;
        s.width = v.size.x;
        s.height = s.charHeight;
        s.z = StencilRows::kLabelDepth;
        t->text = "#0xC4BDAD#" + v.name;
        s.colorize = true;
        Widgets::RaiseOwn(v.stencilName, "CalcText", self);
    }
    // A second "Init" lays the rows out afresh.
    for (Object* row : v.myStencilList)
        if (row != nullptr) row->_Delete();
    v.myStencilList.clear();
    v.chosenRow = -1;
    v.oldSliderValue = 0;
    float y = kFirstRowY;
    for (int k = 0; k < kRows; ++k, y -= kRowSize.y) {
        const bool named = k < n;
        const std::string text = named ? v.stencilNames[static_cast<std::size_t>(k)] : std::string();
        StencilRows::RowLook look{kRowSize, named ? v.BLUE : v.RED, named};
        if (Object* row = StencilRows::MakeLabelRow(self->_state, text, v.position.x, y, look))
            v.myStencilList.push_back(row);
    }
}

// Shows entries first to first + 32 in the rows.
void Refill(Variables& v, int first) {
    const int n = NameCount(v);
    for (std::size_t r = 0; r < v.myStencilList.size(); ++r) {
        const int i = first + static_cast<int>(r);
        Object* row = v.myStencilList[r];
        const bool named = i < n;
        StencilRows::SetRowText(row, named ? v.stencilNames[static_cast<std::size_t>(i)] : std::string());
        StencilRows::SetLook(row, named ? v.BLUE : v.RED, named);
    }
}

// The pointer chooses: a click on a name row chooses the entry it shows, a
// click anywhere else in the window lets the choice go.
void Choose(Variables& v) {
    if (!inputHooks.windowActive() || !Mouse.Triggered(0)) return;
    v.chosenRow = -1;
    for (std::size_t r = 0; r < v.myStencilList.size(); ++r)
        if (ShowsName(v, static_cast<int>(r)) && StencilRows::UnderPointer(v.myStencilList[r]))
            v.chosenRow = static_cast<std::int32_t>(r);
}

// Name rows show the pointer over them and the chosen one; empty rows their
// plain colour.
void Colour(Variables& v) {
    for (std::size_t r = 0; r < v.myStencilList.size(); ++r) {
        auto* box = ObjectData::SingleLineTextBox::Find(v.myStencilList[r]);
        if (box == nullptr) continue;
        if (!ShowsName(v, static_cast<int>(r)))
            box->colorBG = v.RED;
        else if (static_cast<std::int32_t>(r) == v.chosenRow)
            box->colorBG = box->selectionColor;
        else if (StencilRows::UnderPointer(v.myStencilList[r]))
            box->colorBG = box->isHighlightColor;
        else
            box->colorBG = v.BLUE;
    }
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.clickedStencil != "nothing") v.clickedStencil = "nothing";

    Choose(v);
    const int first = FirstShown(v);
    v.idxToTextboxTable = v.chosenRow;
    v.selectedStencil =
        v.idxToTextboxTable >= 0 && first + v.idxToTextboxTable < NameCount(v) ? first + v.idxToTextboxTable : -1;

    if (first != v.oldSliderValue) {
        v.oldSliderValue = first;
        Refill(v, first);
    }
    Colour(v);
    v.idxToTextboxTable = -1;
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

int FirstShown(const Variables& v) { return Widgets::ScrollBar::FirstShown(v.stencilSlider); }

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "StencilMenu", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", Event());
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_name, v.name);
    BindVariable(table, *prototype, enum_type, v.type);
    BindVariable(table, *prototype, enum_stencilNames, v.stencilNames);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_stencilName, v.stencilName);
    BindVariable(table, *prototype, enum_oldSliderValue, v.oldSliderValue);
    BindVariable(table, *prototype, enum_stencilSlider, v.stencilSlider);
    BindVariable(table, *prototype, enum_clickedStencil, v.clickedStencil);
    BindVariable(table, *prototype, enum_myFocus, v.myFocus);
    BindVariable(table, *prototype, enum_focusIdx, v.focusIdx);
    BindVariable(table, *prototype, enum_oldNameOfFocus, v.oldNameOfFocus);
    BindVariable(table, *prototype, enum_selectedStencil, v.selectedStencil);
    BindVariable(table, *prototype, enum_idxToTextboxTable, v.idxToTextboxTable);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_myStencilList, v.myStencilList);
    BindVariable(table, *prototype, enum_BLUE, v.BLUE);
    BindVariable(table, *prototype, enum_RED, v.RED);
    BindVariable(table, *prototype, enum_myCppDataList, v.myCppDataList);
}

}  // namespace ObjectData::StencilMenu
