#include "stencil/StencilObjPropLevel.h"

#include "converter/CppData.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "screens/MenuScreen.h"
#include "stencil/PanelButtons.h"
#include "stencil/StencilBuild.h"
#include "stencil/StencilFuncProp.h"
#include "stencil/StencilObjProp.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"
#include "widgets/Button.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::StencilObjPropLevel {

namespace {

VariableOffsetTable table;

constexpr char kVariables[] = "VariableTable";
constexpr char kFunctions[] = "FunctionTable";

// The title's room between the tabs and the edit buttons.
constexpr float kTitleWidth = 0.44f;
// The report lines and the build button beside them, under the rows.
constexpr float kReportY = -0.455f;
constexpr float kReportWidth = 0.9f;
constexpr float kReportHeight = 0.085f;
constexpr float kReportCharHeight = 0.021f;

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
    StencilRows::FitLabel(v.titleText, kTitleWidth);
    v.titleNameX = -0.15f;
    // Both panels open on what was committed of the stencil, in this run or
    // an earlier one; the record names its stencil, so a commit files it
    // under the type's own name.
    const CppData committed = StencilStore::Record(v.objType, v.objName);
    const bool wasCommitted = StencilStore::Has(v.objType, v.objName);
    for (const char* name : {kVariables, kFunctions}) {
        Entity* panel = self->GetMyObject(name);
        if (panel == nullptr) continue;
        LevelTemplate::SetIfPresent(panel, enum_objType, v.objType);
        LevelTemplate::SetIfPresent(panel, enum_objName, v.objName);
        LevelTemplate::SetIfPresent(panel, enum_hideOffset, 10.0f);
        if (CppData* record = FindVariable<CppData>(panel, enum_ObjData)) {
            if (wasCommitted) {
                *record = committed;
            } else {
                record->kind = committed.kind;
                record->typeName = committed.typeName;
                if (record->baseType.empty()) record->baseType = committed.baseType;
            }
        }
        Widgets::RaiseOwn(panel, "Init", self);
    }
    PlaceTab(self, "VariableTab", -0.5f, "VARIABLES");
    PlaceTab(self, "FunctionTab", -0.3f, "functions");

    if (v.report != nullptr) v.report->_Delete();
    v.report =
        StencilRows::Paragraph(self->_state, "", -0.12f, kReportY, kReportWidth, kReportHeight, kReportCharHeight);
    if (v.buildButton != nullptr) v.buildButton->_Delete();
    v.buildButton =
        PanelButtons::Make(self, 0.47f, kBuildLabel, "Build and replace the type in the running program (F5)");
    if (v.buildButton != nullptr) {
        LevelTemplate::SetIfPresent(v.buildButton, enum_position, D3DXVECTOR3(0.47f, kReportY, 0.0f));
        LevelTemplate::SetIfPresent(v.buildButton, enum_size, D3DXVECTOR2(0.18f, 0.06f));
    }
    const StencilBuild::Status& build = StencilBuild::Current();
    v.shownBuild = build.number;
    const bool ours =
        build.kind == v.objType && build.typeName == v.objName && build.phase != StencilBuild::Phase::Idle;
    ShowReport(self->_state, ours ? build.report : std::string(kBuildHint) + " in the running program.");
}

// The window's rows committed, both panels at once, then the build started.
void Build(Entity* self, Variables& v) {
    Entity* variables = self->GetMyObject(kVariables);
    Entity* functions = self->GetMyObject(kFunctions);
    ObjectData::StencilObjProp::TakeRows(variables);
    ObjectData::StencilFuncProp::TakeRows(functions);
    const CppData committed = StencilStore::Record(v.objType, v.objName);
    const CppData* fromVariables = FindVariable<CppData>(variables, enum_ObjData);
    const CppData* fromFunctions = FindVariable<CppData>(functions, enum_ObjData);
    const StencilStore::Outcome outcome = StencilStore::CommitAll(
        fromVariables != nullptr ? *fromVariables : committed, fromFunctions != nullptr ? *fromFunctions : committed);
    if (!outcome.saved) {
        ShowReport(self->_state, outcome.report);
        return;
    }
    StencilBuild::Start(v.objType, v.objName);
    v.shownBuild = -1;
}

// The report line follows the build of this window's stencil.
void FollowBuild(Entity* self, Variables& v) {
    StencilBuild::Step();
    const StencilBuild::Status& build = StencilBuild::Current();
    if (build.kind != v.objType || build.typeName != v.objName) return;
    if (build.number == v.shownBuild && !StencilBuild::Busy()) return;
    ShowReport(self->_state, build.report);
    if (!StencilBuild::Busy()) v.shownBuild = build.number;
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
    if (v.clickedStencil == kBuildLabel || Keyboard.Triggered(DIK_F5)) {
        if (v.clickedStencil == kBuildLabel) v.clickedStencil = "nothing";
        Build(self, v);
    }
    FollowBuild(self, v);
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

void ShowReport(State* state, const std::string& text) {
    Variables* v = state != nullptr ? Find(state->GetLevel()) : nullptr;
    if (v == nullptr || v->report == nullptr || StencilRows::LabelText(v->report) == text) return;
    StencilRows::SetLabel(v->report, text);
}

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

Level* _Init() {
    _DATA* prototype = LevelTemplate::Begin<Variables>("StencilObjPropLevel", table,
                                                       &MenuScreen::Copy<Variables, &Spawn>, &Entity::_CallUnload);
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
