#include "editor/InstanceEditor.h"

#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

#include "converter/CppConvert.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "screens/MenuScreen.h"
#include "stencil/StencilRows.h"
#include "widgets/Button.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::InstanceEditor {

namespace {

VariableOffsetTable table;

constexpr float kLabelHeight = 0.03f;
constexpr float kRowStep = 0.025f;

void Spawn() { LevelTemplate::Spawn("MMCursor", "Cursor"); }

void PreLoad(Entity*, Entity*) { StencilRows::SetUpWindow(600, 600, 1.0f); }

Object* Box(State* state, float x, float y, D3DXVECTOR2 size) {
    Object* box = LevelTemplate::SpawnIn(state, "SingleLineTextBox", "");
    if (ObjectData::SingleLineTextBox::Variables* b = ObjectData::SingleLineTextBox::Find(box)) {
        b->position = D3DXVECTOR3(x, y, 0.0f);
        b->size = size;
        Widgets::RaiseOwn(box, "ApplyNewSettings", box);
    }
    return box;
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    State* state = self->_state;
    State::SetTitle("Instance Editor");
    StencilRows::PlainBackdrop(state);

    v.slider = LevelTemplate::SpawnIn(state, "VSlider", "");
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.slider)) {
        bar->size = v.sliderSize;
        bar->position = D3DXVECTOR3(v.sliderPos.x, v.sliderPos.y, 10.0f);
        bar->ticks = 1;
        bar->max = 0.0f;
        bar->value = 0.0f;
    }

    const D3DXVECTOR3& at = v.InstanceNamePos;
    v.NameHereText = StencilRows::Label(state, "Instance Name:", at.x, at.y, kLabelHeight);
    v.StateText = StencilRows::Label(state, "State Name:", at.x, at.y + 0.05f, kLabelHeight);
    v.InstanceNameTextBox = Box(state, at.x + v.offsetBetweenText, at.y, {0.4f, 0.03f});
    v.StateNameTextBox = Box(state, at.x + v.offsetBetweenText, at.y + 0.05f, {0.4f, 0.03f});

    v.confirmButton = LevelTemplate::SpawnIn(state, "StencilButton", "");
    if (HasVariable(v.confirmButton, enum_master)) {
        StencilRows::SetPixelSize(v.confirmButton, 30, 30);
        ObjectData::Button::Variables& b = VariablesOf<ObjectData::Button::Variables>(v.confirmButton);
        b.position = D3DXVECTOR3(at.x + v.offsetBetweenText + v.offsetBetweenTextButton, at.y, 0.0f);
        b.texture = "confirm";
        b.master = self;
    }

    for (int i = 0; i < kRows; ++i) {
        const float y = v.ListPos.y - kRowStep * static_cast<float>(i);
        v.TypeList.push_back(StencilRows::Label(state, kDashes, v.ListPos.x, y, kLabelHeight));
        v.NameList.push_back(StencilRows::Label(state, kDashes, v.ListPos.x + 0.25f, y, kLabelHeight));
        v.ValueList.push_back(Box(state, v.ListPos.x + 0.55f, y, {0.3f, 0.025f}));
    }
}

// The entity inspected, found again by its state's and its own name; null
// when it is gone, marked for deletion, or another entity holds the name.
Entity* FindInspected(const Variables& v) {
    if (!v.inspecting) return nullptr;
    State* state = State::GetState(v.curState);
    if (state == nullptr || state->Deleted()) return nullptr;
    const EntityMap& entities = State::_GetEntities(state);
    const auto found = entities.find(v.curObjName);
    Entity* entity = found != entities.end() ? found->second : nullptr;
    if (entity == nullptr) return nullptr;
    if (const auto* object = dynamic_cast<const Object*>(entity))
        return object->_GetID() == v.inspectedId && !object->_Deleted() ? entity : nullptr;
    return entity == v.inspectedOther ? entity : nullptr;
}

Widgets::ScrollBar::Variables* Bar(const Variables& v) { return Widgets::ScrollBar::Find(v.slider); }

// The first variable shown: the smallest whole number not below the bar's value.
int Offset(const Variables& v) {
    const Widgets::ScrollBar::Variables* bar = Bar(v);
    if (bar == nullptr || !std::isfinite(bar->value) || bar->value <= 0.0f) return 0;
    return static_cast<int>(std::ceil(bar->value));
}

int Truncated(const Variables& v) {
    const Widgets::ScrollBar::Variables* bar = Bar(v);
    return bar != nullptr && std::isfinite(bar->value) ? static_cast<int>(bar->value) : 0;
}

const std::string* NameAt(const Variables& v, int row) {
    const int i = Offset(v) + row;
    return i < static_cast<int>(v.names.size()) ? &v.names[static_cast<std::size_t>(i)] : nullptr;
}

void FillNames(Variables& v) {
    for (int r = 0; r < kRows && r < static_cast<int>(v.TypeList.size()) && r < static_cast<int>(v.NameList.size()); ++r) {
        const std::string* name = NameAt(v, r);
        StencilRows::SetLabel(v.TypeList[static_cast<std::size_t>(r)], name ? cppConvert.GetVarType(*name) : kDashes);
        StencilRows::SetLabel(v.NameList[static_cast<std::size_t>(r)], name ? *name : kDashes);
    }
}

void FillValues(Variables& v, Entity* entity) {
    for (int r = 0; r < kRows && r < static_cast<int>(v.ValueList.size()); ++r) {
        const std::string* name = NameAt(v, r);
        std::string typeText;
        const void* address = name != nullptr ? VariableAddress(entity, *name, typeText) : nullptr;
        StencilRows::SetText(v.ValueList[static_cast<std::size_t>(r)],
                             address != nullptr ? cppConvert.AccessVarValue(address, typeText, "") : std::string());
    }
}

void SetRange(Entity* self, Variables& v, float max, std::int32_t ticks, bool toTop) {
    if (Widgets::ScrollBar::Variables* bar = Bar(v)) {
        bar->max = max;
        bar->ticks = ticks;
        if (toTop) bar->value = 0.0f;
        Widgets::RaiseOwn(v.slider, "UpdatePosition", self);
    }
}

// The inspected entity is gone: dashes, empty values, a frozen bar, and
// nothing inspected any more.
void Forget(Entity* self, Variables& v) {
    v.inspecting = false;
    v.inspectedOther = nullptr;
    v.theAlmightlyInstance = nullptr;
    v.names.clear();
    FillNames(v);
    for (Object* cell : v.ValueList) StencilRows::SetText(cell, "");
    SetRange(self, v, 0.0f, 1, true);
}

void Confirm(Variables& v) {
    const std::string stateName = StencilRows::Text(v.StateNameTextBox);
    State* state = State::GetState(stateName);
    if (state == nullptr || state->Deleted()) return;
    v.curState = stateName;
    v.curObjName = StencilRows::Text(v.InstanceNameTextBox);
    const EntityMap& entities = State::_GetEntities(state);
    const auto found = entities.find(v.curObjName);
    Entity* entity = found != entities.end() ? found->second : nullptr;
    const auto* object = dynamic_cast<const Object*>(entity);
    v.inspecting = entity != nullptr && (object == nullptr || !object->_Deleted());
    v.inspectedId = object != nullptr ? object->_GetID() : 0;
    v.inspectedOther = object == nullptr ? entity : nullptr;
    v.theAlmightlyInstance = v.inspecting ? entity : nullptr;
    v.hasSet = true;
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* entity = FindInspected(v);
    if (v.inspecting && entity == nullptr) Forget(self, v);
    v.theAlmightlyInstance = entity;

    if (entity != nullptr && Truncated(v) != v.oldSliderValue) {
        v.oldSliderValue = Truncated(v);
        FillNames(v);
    }
    if (entity != nullptr) FillValues(v, entity);

    if (v.clickedStencil != "nothing") {
        if (v.clickedStencil == "confirm") Confirm(v);
        v.clickedStencil = "nothing";
        entity = FindInspected(v);
        // Another state or an unknown name: the rows show nothing of the old entity.
        if (v.hasSet && entity == nullptr) Forget(self, v);
    }

    if (v.hasSet && entity != nullptr) {
        const std::set<std::string> names = cppConvert.GetVarList(entity->GetType());
        v.names.assign(names.begin(), names.end());
        const int n = static_cast<int>(v.names.size());
        if (n >= kRows) {
            const float max = static_cast<float>(n - kRows);
            SetRange(self, v, max, static_cast<std::int32_t>(max) + 1, false);
        } else {
            SetRange(self, v, 0.0f, 1, true);
        }
        v.oldSliderValue = Truncated(v);
        FillNames(v);
        FillValues(v, entity);
    }
    v.hasSet = false;
}

// The program-wide number of each variable name.
const std::unordered_map<std::string, int>& NumbersByName() {
    static const std::unordered_map<std::string, int> numbers = [] {
        std::unordered_map<std::string, int> byName;
        for (int n = 0; n < MAX_ENUM_VALUE; ++n)
            if (const char* name = VariableName(n)) byName.emplace(name, n);
        return byName;
    }();
    return numbers;
}

}  // namespace

const void* VariableAddress(Entity* entity, const std::string& name, std::string& typeText) {
    const auto found = NumbersByName().find(name);
    if (found == NumbersByName().end() || !HasVariable(entity, found->second) || entity->_startVar == nullptr)
        return nullptr;
    // Read as the entity's own type stored it: the converter keeps one type
    // text per name for the whole program, and another type may hold the
    // same name differently.
    const std::map<int, std::string>& bound = VariableBindingsOf(entity->_map);
    const auto text = bound.find(found->second);
    typeText = text != bound.end() ? text->second : std::string();
    return entity->_startVar + entity->_map[found->second];
}

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("InstanceEditor", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                       &Entity::_CallUnload);
    prototype->_AddEvent("PreLoad", &PreLoad);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Update", &Update);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Restart", Event());
    LevelTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const Entity& p = *prototype;
    BindVariable(table, p, enum_hasSet, v.hasSet);
    BindVariable(table, p, enum_theAlmightlyInstance, v.theAlmightlyInstance);
    BindVariable(table, p, enum_InstanceNamePos, v.InstanceNamePos);
    BindVariable(table, p, enum_offsetBetweenText, v.offsetBetweenText);
    BindVariable(table, p, enum_offsetBetweenTextButton, v.offsetBetweenTextButton);
    BindVariable(table, p, enum_NameHereText, v.NameHereText);
    BindVariable(table, p, enum_InstanceNameTextBox, v.InstanceNameTextBox);
    BindVariable(table, p, enum_StateText, v.StateText);
    BindVariable(table, p, enum_StateNameTextBox, v.StateNameTextBox);
    BindVariable(table, p, enum_curObjName, v.curObjName);
    BindVariable(table, p, enum_curState, v.curState);
    BindVariable(table, p, enum_clickedStencil, v.clickedStencil);
    BindVariable(table, p, enum_confirmButton, v.confirmButton);
    BindVariable(table, p, enum_ListPos, v.ListPos);
    BindVariable(table, p, enum_TypeList, v.TypeList);
    BindVariable(table, p, enum_NameList, v.NameList);
    BindVariable(table, p, enum_ValueList, v.ValueList);
    BindVariable(table, p, enum_oldSliderValue, v.oldSliderValue);
    BindVariable(table, p, enum_slider, v.slider);
    BindVariable(table, p, enum_sliderPos, v.sliderPos);
    BindVariable(table, p, enum_sliderSize, v.sliderSize);
    return prototype;
}

}  // namespace LevelData::InstanceEditor
