#include "stencil/StencilObjPropLevel.h"

#include "converter/CppData.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "screens/MenuScreen.h"
#include "stencil/StencilRows.h"
#include "widgets/Button.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::StencilObjPropLevel {

namespace {

VariableOffsetTable table;

constexpr char kVariables[] = "VariableTable";
constexpr char kFunctions[] = "FunctionTable";

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("StencilObjProp", kVariables);
    // The functions panel comes with its own type; without it the window
    // shows the variables only.
    LevelTemplate::Spawn("StencilFuncProp", kFunctions);
    LevelTemplate::Spawn("StencilButton", "VariableTab");
    LevelTemplate::Spawn("StencilButton", "FunctionTab");
}

void PreLoad(Entity*, Entity*) { StencilRows::SetUpWindow(700, 600, 7.0f / 6.0f); }

void Load(Entity* self, Entity*) {
    PreLoad(self, self);
    State::SetTitle("Properties");
    StencilRows::PlainBackdrop(self->_state);
}

void PlaceTab(Entity* level, const char* name, float x, const char* label) {
    Entity* tab = level->GetMyObject(name);
    if (!HasVariable(tab, enum_master)) return;
    ObjectData::Button::Variables& b = VariablesOf<ObjectData::Button::Variables>(tab);
    b.position = D3DXVECTOR3(x, 0.45f, 0.0f);
    b.size = D3DXVECTOR2(0.15f, 0.05f);
    b.texture = label;
    b.master = level;
}

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    // Raised again (a restart): one title only.
    if (v.titleText != nullptr) v.titleText->_Delete();
    v.titleText = LevelTemplate::SpawnIn(self->_state, "Text", "");
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(v.titleText)) {
        t->settings.x = 0.0f;
        t->settings.y = 0.45f;
        t->settings.z = StencilRows::kLabelDepth;
        t->settings.width = 0.3f;
        t->settings.height = 0.07f;
        t->text = "#0xC4BDAD#" + v.objName;
        t->settings.colorize = true;
        t->settings.charHeight = 0.05f;
        t->settings.fixedWidth = false;
        Widgets::RaiseOwn(v.titleText, "CalcText", self);
    }
    v.titleNameX = -0.15f;
    for (const char* name : {kVariables, kFunctions}) {
        Entity* panel = self->GetMyObject(name);
        if (panel == nullptr) continue;
        LevelTemplate::SetIfPresent(panel, enum_objType, v.objType);
        LevelTemplate::SetIfPresent(panel, enum_objName, v.objName);
        LevelTemplate::SetIfPresent(panel, enum_hideOffset, 10.0f);
        // The record names its stencil, so a commit files the variables
        // under the type's own name.
        if (CppData* record = FindVariable<CppData>(panel, enum_ObjData)) {
            record->kind = v.objType;
            record->typeName = v.objName;
        }
        Widgets::RaiseOwn(panel, "Init", self);
    }
    PlaceTab(self, "VariableTab", -0.5f, "VARIABLES");
    PlaceTab(self, "FunctionTab", -0.3f, "functions");
}

void Restart(Entity* self, Entity* previous) {
    Variables& v = VariablesOf<Variables>(self);
    if (const std::string* name = FindVariable<std::string>(previous, enum_objName)) v.objName = *name;
    if (const std::string* type = FindVariable<std::string>(previous, enum_objType)) v.objType = *type;
    self->DoEvent("Init");
}

void Show(Entity* level, const char* name, bool shown) {
    LevelTemplate::SetIfPresent(level->GetMyObject(name), enum_hide, !shown);
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.clickedStencil == "nothing") return;
    if (v.clickedStencil == "VARIABLES") v.activeProperty = 0;
    if (v.clickedStencil == "functions") v.activeProperty = 1;
    if (v.activeProperty == 0 || v.activeProperty == 1) {
        Show(self, kVariables, v.activeProperty == 0);
        Show(self, kFunctions, v.activeProperty == 1);
    }
    v.clickedStencil = "nothing";
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("StencilObjPropLevel", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                       &Entity::_CallUnload);
    prototype->_AddEvent("PreLoad", &PreLoad);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("Restart", &Restart);
    prototype->_AddEvent("Update", &Update);
    prototype->_AddEvent("Unload", Event());
    LevelTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_objType, v.objType);
    BindVariable(table, *prototype, enum_objName, v.objName);
    BindVariable(table, *prototype, enum_titleNameX, v.titleNameX);
    BindVariable(table, *prototype, enum_titleText, v.titleText);
    BindVariable(table, *prototype, enum_activeProperty, v.activeProperty);
    BindVariable(table, *prototype, enum_clickedStencil, v.clickedStencil);
    return prototype;
}

}  // namespace LevelData::StencilObjPropLevel
