#pragma once
// What the stencil's two list panels share: the variables' ("StencilObjProp")
// and the functions' ("StencilFuncProp"). Each edits its own record as three
// columns of one-line rows with three buttons ("confirm", "Add Stencil",
// "Delete Stencil"); the button last clicked stands in `clickedStencil` until
// the panel's next step handles it. While `hide` is set the whole panel lies
// `hideOffset` to the right, off screen.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "converter/CppData.h"
#include "framework/ObjectTemplate.h"

namespace ObjectData::StencilPanel {

// The variables every stencil panel binds; a panel's block derives from it.
struct Panel {
    explicit Panel(bool hidden) : hide(hidden) {}
    std::string objType;
    std::string objName;
    bool hide;
    bool oldHideState = false;
    // The properties window sets it again before the first frame; a panel
    // that runs before that still hides by the same distance.
    float hideOffset = 10.0f;
    Object* applyButton = nullptr;
    Object* addButton = nullptr;
    Object* deleteButton = nullptr;
    std::string clickedStencil = "nothing";
    CppData ObjData;
    std::int32_t lastSelectedVariable = -1;
};

// Where new rows stand: off screen with the others while the panel is hidden.
float RowsDx(const Panel& v);

// The panel's edit buttons, made where its rows stand; the add and remove
// buttons' tool tips name what the rows are.
void MakeButtons(Entity* self, Panel& v, const char* addTip, const char* removeTip);

// The hiding of a panel: when hide differs from the state last applied,
// stores it and moves the buttons and every row of the columns hideOffset to
// the right when hiding, back when showing.
void ApplyHiding(Panel& v, std::initializer_list<const std::vector<Object*>*> columns);

// Moves a panel's pieces by dx: each object's `position` x, or its Text's
// when it has no position of its own.
void Shift(const std::vector<Object*>& pieces, float dx);

// Runs the step of the button last clicked, if any, and forgets the click.
void HandleClick(Panel& v, const std::function<void()>& confirm, const std::function<void()>& add,
                 const std::function<void()>& remove);

// "Load" of the stencil panels: no click is pending.
void Load(Entity* self, Entity* other);

// The panel's block of a type whose offset table is table, or null for
// entities of other types.
template <class Vars>
Vars* Find(Entity* entity, const VariableOffsetTable& table) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Vars>(entity) : nullptr;
}

// A panel type's registration up to its own variables: the prototype named
// typeName with its engines and events, the block's shared variables bound.
template <class Vars>
ObjectTemplate::Data<Vars>* Begin(Object*& slot, const char* typeName, VariableOffsetTable& table, Event init,
                                  Event behavior) {
    ObjectTemplate::Data<Vars>* prototype = ObjectTemplate::Begin<Vars>(slot, typeName, table);
    prototype->_TempAddEngine("Behavior", behavior);
    prototype->_TempAddEngine("GraphicsDraw", Event());
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Init", init);
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Panel& v = prototype->vars;
    BindVariable(table, *prototype, enum_objType, v.objType);
    BindVariable(table, *prototype, enum_objName, v.objName);
    BindVariable(table, *prototype, enum_hide, v.hide);
    BindVariable(table, *prototype, enum_oldHideState, v.oldHideState);
    BindVariable(table, *prototype, enum_hideOffset, v.hideOffset);
    BindVariable(table, *prototype, enum_applyButton, v.applyButton);
    BindVariable(table, *prototype, enum_addButton, v.addButton);
    BindVariable(table, *prototype, enum_deleteButton, v.deleteButton);
    BindVariable(table, *prototype, enum_clickedStencil, v.clickedStencil);
    BindVariable(table, *prototype, enum_ObjData, v.ObjData);
    BindVariable(table, *prototype, enum_lastSelectedVariable, v.lastSelectedVariable);
    return prototype;
}

}  // namespace ObjectData::StencilPanel
