#include "stencil/StencilCodeBlock.h"

#include <algorithm>

#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "screens/MenuScreen.h"
#include "stencil/PanelButtons.h"
#include "stencil/StencilBuild.h"
#include "stencil/StencilFuncProp.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"
#include "widgets/Text.h"
#include "widgets/TextBox.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::StencilCodeBlock {

namespace {

VariableOffsetTable table;

constexpr char kFailed[] = "FAILED TO COMMIT THIS FUNCTION!";
constexpr char kTitleMark[] = "#0xC4BDAD#";
// The title's room left of the button.
constexpr float kTitleWidth = 0.9f;

void Spawn() { LevelTemplate::Spawn("MMCursor", "Cursor"); }

void SetUpWindow() { StencilRows::SetUpWindow(700, 600, 1.1666666f); }

void PreLoad(Entity*, Entity*) { SetUpWindow(); }

void Load(Entity* self, Entity*) {
    SetUpWindow();
    State::SetTitle("Code Block");
    StencilRows::PlainBackdrop(self->_state);
}

// A "Text" of the window centred on (x, y), laid out at once.
Object* MakeText(Entity* level, const std::string& words, float x, float y, float width, float height, float charHeight,
                 bool colorize) {
    Object* text = LevelTemplate::SpawnIn(level->_state, "Text");
    ObjectData::Text::Variables* t = ObjectData::Text::Find(text);
    if (t == nullptr) return text;
    TextSettings& s = t->settings;
    t->text = words;
    s.x = x;
    s.y = y;
    s.width = width;
    s.height = height;
    s.charHeight = charHeight;
    s.fixedWidth = false;
    s.hAlign = 1;
    s.vAlign = 1;
    s.colorize = colorize;
    s.primaryColorBack = 0;
    delete s.information;
    s.information = new TextData();
    Widgets::RaiseOwn(text, "CalcText", level);
    return text;
}

// "OnHit of Player": the function first, in the title's colour.
std::string Title(const Variables& v) { return kTitleMark + v.desiredStencilName + "#0xA8A290# of " + v.objName; }

bool FunctionFound(const CppData& record, std::int32_t index, const std::string& name) {
    return index >= 0 && static_cast<std::size_t>(index) < record.functions.size() &&
           record.functions[static_cast<std::size_t>(index)].name == name;
}

void Init(Entity* self, Entity* other) {
    Variables& v = VariablesOf<Variables>(self);
    // The record is the opening panel's as it stands now.
    if (ObjectData::StencilFuncProp::Variables* panel = ObjectData::StencilFuncProp::Find(other)) {
        v.ObjData = panel->ObjData;
        v.openerState = other->_state;
        v.opener = static_cast<Object*>(other);
        v.openerId = v.opener->_GetID();
    }
    v.titleNameX = -0.15f;
    if (v.fail || !FunctionFound(v.ObjData, v.functionIndex, v.desiredStencilName)) {
        v.fail = true;
        v.titleText = MakeText(self, kFailed, 0.0f, 0.0f, 1.0f, 0.07f, 0.04f, false);
        return;
    }
    v.myFunc = v.ObjData.functions[static_cast<std::size_t>(v.functionIndex)];
    // The function's name, then the stencil it belongs to, fitted between
    // the window's edge and the button.
    v.titleText = MakeText(self, Title(v), -0.05f, 0.45f, kTitleWidth, 0.07f, 0.05f, true);
    StencilRows::FitLabel(v.titleText, kTitleWidth);

    v.codeBlock = LevelTemplate::SpawnIn(self->_state, "TextBox");
    if (ObjectData::TextBox::Variables* box = ObjectData::TextBox::Find(v.codeBlock)) {
        if (ObjectData::Text::Variables* t = ObjectData::Text::Find(box->textObject)) {
            t->settings.charHeight = 0.025f;
            t->settings.primaryColorBack = 0;
            t->text = v.myFunc.code;
        }
        box->position = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        box->colorBG = D3DXVECTOR3(196.0f, 189.0f, 173.0f);
        box->size = D3DXVECTOR2(1.0f, 0.8f);
        Widgets::RaiseOwn(v.codeBlock, "ApplyNewSettings", self);
    }
    v.applyButton = PanelButtons::Make(self, 0.5f, "confirm", "Apply changes");
    v.message = StencilRows::Paragraph(self->_state, "", 0.0f, -0.455f, 1.1f, 0.085f, 0.022f);
    v.shownBuild = StencilBuild::Current().number;
}

// The panel that opened the window, while its state still runs it with no
// switch pending; null otherwise.
ObjectData::StencilFuncProp::Variables* Opener(const Variables& v) {
    State* state = v.openerState;
    if (v.opener == nullptr || std::find(State::_list.begin(), State::_list.end(), state) == State::_list.end())
        return nullptr;
    if (state->Deleted() || state->GetNextLevelName() != state->GetLevelName()) return nullptr;
    const std::list<Object*>& objects = state->Objects();
    const bool runs = std::any_of(objects.begin(), objects.end(), [&v](const Object* o) {
        return o == v.opener && !o->_Deleted() && o->_GetID() == v.openerId;
    });
    return runs ? ObjectData::StencilFuncProp::Find(v.opener) : nullptr;
}

void ShowMessage(const Variables& v, const std::string& words) {
    if (StencilRows::LabelText(v.message) != words) StencilRows::SetLabel(v.message, words);
}

// The body typed into the box becomes the function's body in the window's
// record and, when it still holds the same function there, the panel's.
void Commit(Variables& v) {
    const ObjectData::TextBox::Variables* box = ObjectData::TextBox::Find(v.codeBlock);
    const ObjectData::Text::Variables* t = box != nullptr ? ObjectData::Text::Find(box->textObject) : nullptr;
    if (t == nullptr || !FunctionFound(v.ObjData, v.functionIndex, v.desiredStencilName)) return;
    const auto at = static_cast<std::size_t>(v.functionIndex);
    v.ObjData.functions[at].code = t->text;
    ObjectData::StencilFuncProp::Variables* panel = Opener(v);
    const bool inPanel = panel != nullptr && FunctionFound(panel->ObjData, v.functionIndex, v.desiredStencilName);
    if (inPanel) panel->ObjData.functions[at].code = t->text;
    // The committed stencil keeps the body when it holds the function there.
    StencilStore::Outcome outcome;
    if (StencilStore::CommitBody(v.objType, v.objName, at, v.desiredStencilName, t->text, outcome))
        ShowMessage(v, outcome.saved ? kSaved : outcome.report);
    else
        ShowMessage(v, inPanel ? kInPanelOnly : kKeptHere);
}

// After a build of the stencil: what the compiler found in this body.
void FollowBuild(Variables& v) {
    StencilBuild::Step();
    const StencilBuild::Status& build = StencilBuild::Current();
    if (build.number == v.shownBuild || StencilBuild::Busy() || build.kind != v.objType || build.typeName != v.objName)
        return;
    v.shownBuild = build.number;
    const std::string problems = StencilBuild::ProblemsIn(v.objType, v.objName, v.desiredStencilName);
    if (!problems.empty())
        ShowMessage(v, "The build of " + v.objName + " failed here:\n" + problems);
    else if (build.phase == StencilBuild::Phase::Replaced)
        ShowMessage(v, build.report);
    else
        ShowMessage(v, "The build of " + v.objName + " failed elsewhere; its properties window tells why.");
}

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.fail) return;
    FollowBuild(v);
    if (v.clickedStencil == "nothing") return;
    if (v.clickedStencil == "confirm") Commit(v);
    v.clickedStencil = "nothing";
}

// A window that starts again keeps what it was opened on and whether it
// failed; its record and the name it checks start empty.
void Restart(Entity* self, Entity* other) {
    Variables& v = VariablesOf<Variables>(self);
    if (const Variables* previous = Find(other)) {
        v.objName = previous->objName;
        v.objType = previous->objType;
        v.functionIndex = previous->functionIndex;
        v.fail = previous->fail;
    }
    self->DoEvent("Init");
}

}  // namespace

Variables* Find(Entity* level) {
    return level != nullptr && level->_map == table ? &VariablesOf<Variables>(level) : nullptr;
}

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("StencilCodeBlock", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                      &PreLoad, &Load, &Update);
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("Restart", &Restart);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_objType, v.objType);
    BindVariable(table, *prototype, enum_objName, v.objName);
    BindVariable(table, *prototype, enum_functionIndex, v.functionIndex);
    BindVariable(table, *prototype, enum_titleNameX, v.titleNameX);
    BindVariable(table, *prototype, enum_titleText, v.titleText);
    BindVariable(table, *prototype, enum_codeBlock, v.codeBlock);
    BindVariable(table, *prototype, enum_ObjData, v.ObjData);
    BindVariable(table, *prototype, enum_myFunc, v.myFunc);
    BindVariable(table, *prototype, enum_applyButton, v.applyButton);
    BindVariable(table, *prototype, enum_clickedStencil, v.clickedStencil);
    BindVariable(table, *prototype, enum_fail, v.fail);
    BindVariable(table, *prototype, enum_desiredStencilName, v.desiredStencilName);
    return prototype;
}

}  // namespace LevelData::StencilCodeBlock
