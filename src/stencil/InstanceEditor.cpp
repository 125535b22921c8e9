#include "stencil/InstanceEditor.h"

#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

#include "converter/CppConvert.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/TypeReplacement.h"
#include "screens/MenuScreen.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"
#include "widgets/Button.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::InstanceEditor {

namespace {

VariableOffsetTable table;

constexpr float kLabelHeight = 0.03f;
constexpr float kRowStep = 0.025f;
// The columns, from the list's place: types and names left-aligned in boxes
// of their own, the values wide enough for a vector's three numbers.
constexpr float kTypeDx = -0.19f, kTypeWidth = 0.3f;
constexpr float kNameDx = 0.14f, kNameWidth = 0.34f;
constexpr float kValueDx = 0.63f, kValueWidth = 0.56f;
// The most elements of an array shown.
constexpr std::size_t kMostElements = 16;

void Spawn() { LevelTemplate::Spawn("MMCursor", "Cursor"); }

// Wider than a square, so that the values show whole.
void PreLoad(Entity*, Entity*) { StencilRows::SetUpWindow(800, 600, 4.0f / 3.0f); }

// A cell of a column: left-aligned in its box, its text fitted to it.
Object* Cell(State* state, float x, float y, float width) {
    Object* label = StencilRows::Label(state, kDashes, x, y, kLabelHeight);
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(label)) t->settings.hAlign = 0;
    StencilRows::FitLabel(label, width);
    return label;
}

void SetCell(Entity* cell, const std::string& text, float width) {
    if (StencilRows::LabelText(cell) == text) return;
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(cell)) t->settings.charHeight = kLabelHeight;
    StencilRows::SetLabel(cell, text);
    StencilRows::FitLabel(cell, width);
}

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
        v.TypeList.push_back(Cell(state, v.ListPos.x + kTypeDx, y, kTypeWidth));
        v.NameList.push_back(Cell(state, v.ListPos.x + kNameDx, y, kNameWidth));
        v.ValueList.push_back(Box(state, v.ListPos.x + kValueDx, y, {kValueWidth, 0.025f}));
    }
    v.editing.assign(kRows, false);
    v.message = StencilRows::Label(state, kHowToEdit, 0.0f, -0.44f, 0.026f);
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(v.message))
        t->settings.primaryColor = StencilRows::kLightInk;
    StencilRows::FitLabel(v.message, 1.2f);
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
    for (int r = 0; r < kRows && r < static_cast<int>(v.TypeList.size()) && r < static_cast<int>(v.NameList.size());
         ++r) {
        const std::string* name = NameAt(v, r);
        SetCell(v.TypeList[static_cast<std::size_t>(r)],
                name ? v.types[static_cast<std::size_t>(Offset(v) + r)] : kDashes, kTypeWidth);
        SetCell(v.NameList[static_cast<std::size_t>(r)], name ? *name : kDashes, kNameWidth);
    }
}

Object* ValueCell(const Variables& v, int row) {
    return row < static_cast<int>(v.ValueList.size()) ? v.ValueList[static_cast<std::size_t>(row)] : nullptr;
}

// A value the user leaves (Enter, Tab or a click elsewhere) is written into
// the entity at once; then the cell shows it live again, so it stays until
// the game itself changes it. Arrays and types the converter cannot write
// are only shown.
void TakeEdits(Variables& v, Entity* entity) {
    for (int r = 0; r < kRows && r < static_cast<int>(v.editing.size()); ++r) {
        Object* cell = ValueCell(v, r);
        const bool now = StencilRows::Selected(cell);
        const bool was = v.editing[static_cast<std::size_t>(r)];
        v.editing[static_cast<std::size_t>(r)] = now;
        if (!was || now || entity == nullptr) continue;
        const std::string* name = NameAt(v, r);
        std::string typeText;
        void* address = name != nullptr ? const_cast<void*>(VariableAddress(entity, *name, typeText)) : nullptr;
        const std::string typed = StencilRows::Text(cell);
        if (address == nullptr || typed == ValueText(address, typeText)) continue;
        const bool set = typeText.find('[') == std::string::npos && !typed.empty() &&
                         cppConvert.AccessVarValue(address, typeText, typed) == "ValueSet";
        StencilRows::SetLabel(v.message, set ? "Set " + *name + " of " + v.curObjName + "."
                                             : *name + " (" + typeText + ") cannot be set from here.");
    }
}

void FillValues(Variables& v, Entity* entity) {
    for (int r = 0; r < kRows && r < static_cast<int>(v.ValueList.size()); ++r) {
        // The cell being typed into keeps what the user types.
        if (r < static_cast<int>(v.editing.size()) && v.editing[static_cast<std::size_t>(r)]) continue;
        const std::string* name = NameAt(v, r);
        std::string typeText;
        const void* address = name != nullptr ? VariableAddress(entity, *name, typeText) : nullptr;
        const std::string text = ValueText(address, typeText);
        Object* cell = ValueCell(v, r);
        if (StencilRows::Text(cell) != text) StencilRows::SetText(cell, text);
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
    v.types.clear();
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

    TakeEdits(v, entity);
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
        // Each name with the text it is read under: the entity's own type's
        // when it has the variable, the converter's otherwise.
        v.names.clear();
        v.types.clear();
        for (const std::string& name : cppConvert.GetVarList(entity->GetType())) {
            std::string typeText;
            if (VariableAddress(entity, name, typeText) == nullptr) typeText = cppConvert.GetVarType(name);
            v.names.push_back(name);
            v.types.push_back(typeText);
        }
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
    if (entity == nullptr || entity->_map == nullptr || entity->_startVar == nullptr) return nullptr;
    const auto found = NumbersByName().find(name);
    if (found != NumbersByName().end()) {
        if (!HasVariable(entity, found->second)) return nullptr;
        // Read as the entity's own type stored it: the converter keeps one
        // type text per name for the whole program, and another type may
        // hold the same name differently. An array names its count.
        const std::map<int, std::string>& bound = VariableBindingsOf(entity->_map);
        const auto text = bound.find(found->second);
        typeText = text != bound.end() ? text->second : std::string();
        if (typeText.size() > 2 && typeText.compare(typeText.size() - 2, 2, "[]") == 0) {
            const std::string element = typeText.substr(0, typeText.size() - 2);
            const std::size_t size = CppConvert::ValueSize(element);
            const std::size_t bytes = VariableBindingSize(entity->_map, found->second);
            typeText = size == 0 ? std::string() : element + "[" + std::to_string(bytes / size) + "]";
        }
        return entity->_startVar + entity->_map[found->second];
    }
    // A variable of a type built from a script: numbered by the plug-in
    // builds, typed by the committed stencil (an array with its count).
    const std::int32_t number = cppConvert.VariableNumber(name);
    if (number < MAX_ENUM_VALUE) return nullptr;
    const void* address = _PluginVariable(entity, number, name.c_str());
    if (address == nullptr) return nullptr;
    typeText = cppConvert.GetVarType(name);
    for (const char* kind : {"OBJECT", "LEVEL", "ENGINE", "GAME"}) {
        if (!StencilStore::Has(kind, entity->GetType())) continue;
        const CppData record = StencilStore::Record(kind, entity->GetType());
        for (std::size_t i = 0; i < record.varNames.size() && i < record.varTypes.size(); ++i)
            if (record.varNames[i] == name) typeText = record.varTypes[i];
    }
    // A pointer the stencil did not declare as such may be an array of
    // unknown length: not read.
    if (!typeText.empty() && typeText.back() == '*') typeText.clear();
    return address;
}

namespace {

// An array's elements, as many as show, joined.
std::string ArrayText(const void* address, const std::string& typeText) {
    const std::size_t open = typeText.find('[');
    const std::string element = typeText.substr(0, open);
    const std::size_t size = CppConvert::ValueSize(element);
    std::size_t count = 0;
    try {
        count = static_cast<std::size_t>(std::stoul(typeText.substr(open + 1)));
    } catch (...) {
        return {};
    }
    if (size == 0) return {};
    std::string text;
    for (std::size_t i = 0; i < count && i < kMostElements; ++i) {
        if (i > 0) text += ", ";
        text += cppConvert.AccessVarValue(static_cast<const char*>(address) + i * size, element, "");
    }
    if (count > kMostElements) text += ", ...";
    return text;
}

}  // namespace

std::string ValueText(const void* address, const std::string& typeText) {
    if (address == nullptr) return {};
    if (typeText.find('[') != std::string::npos) return ArrayText(address, typeText);
    return cppConvert.AccessVarValue(address, typeText, "");
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
