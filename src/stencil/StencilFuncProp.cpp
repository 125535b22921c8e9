#include "stencil/StencilFuncProp.h"

#include <algorithm>

#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/window/StateWindows.h"
#include "stencil/StencilCodeBlock.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::StencilFuncProp {

namespace {

VariableOffsetTable table;

// The rows' look: type and return rows 0.2 wide, name rows 0.35.
const StencilRows::RowLook kNarrow{{0.2f, 0.025f}, {220.0f, 150.0f, 150.0f}, true};
const StencilRows::RowLook kWide{{0.35f, 0.025f}, {220.0f, 150.0f, 150.0f}, true};

// The three columns in the order rows are made and removed: type, return, name.
std::vector<StencilRows::Column> Columns(Variables& v) {
    return {{&v.myFuncTypeList, v.FunctionTypeX, &kNarrow},
            {&v.myReturnList, v.ReturnListX, &kNarrow},
            {&v.myFuncNameList, v.FunctionNameX, &kWide}};
}

using StencilPanel::RowsDx;

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const std::vector<StencilRows::Column> columns = Columns(v);
    for (const CppFunctions& f : v.ObjData.functions) {
        StencilRows::Append(self, columns[0], f.functionType, RowsDx(v));
        StencilRows::Append(self, columns[1], f.returnType, RowsDx(v));
        StencilRows::Append(self, columns[2], f.name, RowsDx(v));
    }
    StencilPanel::MakeButtons(self, v, "Adds a function", "Removes the chosen function");
}

// The first function whose return, name or type row has the keyboard; the
// last choice stays while none has.
void Select(Variables& v) {
    for (std::size_t i = 0; i < v.myReturnList.size(); ++i) {
        const bool chosen = StencilRows::Selected(v.myReturnList[i]) ||
                            (i < v.myFuncNameList.size() && StencilRows::Selected(v.myFuncNameList[i])) ||
                            (i < v.myFuncTypeList.size() && StencilRows::Selected(v.myFuncTypeList[i]));
        if (chosen) {
            v.lastSelectedVariable = static_cast<std::int32_t>(i);
            return;
        }
    }
}

// Opens the code block of function `index` in a window of its own, telling
// it the stencil, the function and its name as this panel's record holds it
// now; the panel is the "Init" event's other entity.
void OpenCodeBlock(Entity* panel, Variables& v, std::int32_t index) {
    State* dialog = CreateStateByName("StencilCodeBlock");
    Level* level = dialog != nullptr ? dialog->GetLevel() : nullptr;
    LevelData::StencilCodeBlock::Variables* d = LevelData::StencilCodeBlock::Find(level);
    if (d == nullptr) return;
    d->objName = v.objName;
    d->objType = v.objType;
    d->functionIndex = index;
    const auto at = static_cast<std::size_t>(index);
    d->desiredStencilName = at < v.ObjData.functions.size() ? v.ObjData.functions[at].name : std::string();
    // The dialog builds its objects in its own state.
    State* remembered = State::_currentState;
    State::_currentState = dialog;
    Entity::_DoEvent("Init", panel, level);
    State::_currentState = remembered;
}

void RowsIntoRecord(Variables& v) {
    const std::size_t rows =
        std::min({v.myFuncTypeList.size(), v.myReturnList.size(), v.myFuncNameList.size(), v.ObjData.functions.size()});
    for (std::size_t i = 0; i < rows; ++i) {
        CppFunctions& f = v.ObjData.functions[i];
        f.functionType = StencilRows::Text(v.myFuncTypeList[i]);
        f.returnType = StencilRows::Text(v.myReturnList[i]);
        f.name = StencilRows::Text(v.myFuncNameList[i]);
    }
}

// The rows into the record, and the record's functions committed.
void Commit(Entity* self, Variables& v) {
    RowsIntoRecord(v);
    LevelData::StencilObjPropLevel::ShowReport(self->_state, StencilStore::CommitFunctions(v.ObjData).report);
}

void AddFunction(Entity* panel, Variables& v) {
    const std::vector<StencilRows::Column> columns = Columns(v);
    StencilRows::Append(panel, columns[0], "EVENT", RowsDx(v));
    StencilRows::Append(panel, columns[1], "void", RowsDx(v));
    StencilRows::Append(panel, columns[2], "DEFAULT", RowsDx(v));
    CppFunctions added;
    added.functionType = "------";
    v.ObjData.functions.push_back(added);
}

// Removes the chosen function and its three rows; the rows below keep
// their places.
void DeleteFunction(Variables& v) {
    if (v.lastSelectedVariable == -1) return;
    const auto at = static_cast<std::size_t>(v.lastSelectedVariable);
    StencilRows::RemoveRow(Columns(v), at);
    if (at < v.ObjData.functions.size())
        v.ObjData.functions.erase(v.ObjData.functions.begin() + static_cast<std::ptrdiff_t>(at));
    v.lastSelectedVariable = -1;
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Select(v);
    StencilPanel::ApplyHiding(v, {&v.myFuncTypeList, &v.myReturnList, &v.myFuncNameList});
    if (v.lastSelectedVariable != -1 && Keyboard.Triggered(DIK_F6) && !v.hide)
        OpenCodeBlock(self, v, v.lastSelectedVariable);
    StencilPanel::HandleClick(
        v, [&] { Commit(self, v); }, [&] { AddFunction(self, v); }, [&] { DeleteFunction(v); });
}

}  // namespace

void TakeRows(Entity* panel) {
    if (Variables* v = Find(panel)) RowsIntoRecord(*v);
}

Variables* Find(Entity* entity) { return StencilPanel::Find<Variables>(entity, table); }

void _Init(Object*& slot) {
    _DATA* prototype = StencilPanel::Begin<Variables>(slot, "StencilFuncProp", table, &Init, &Behavior);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_FunctionTypeX, v.FunctionTypeX);
    BindVariable(table, *prototype, enum_FunctionNameX, v.FunctionNameX);
    BindVariable(table, *prototype, enum_ReturnListX, v.ReturnListX);
    BindVariable(table, *prototype, enum_myFuncTypeList, v.myFuncTypeList);
    BindVariable(table, *prototype, enum_myReturnList, v.myReturnList);
    BindVariable(table, *prototype, enum_myFuncNameList, v.myFuncNameList);
}

}  // namespace ObjectData::StencilFuncProp
