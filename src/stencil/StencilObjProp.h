#pragma once
// "StencilObjProp" ("VariableTable" of a properties window): the variables
// of one stencil as three columns of one-line rows (type, name, default
// value) over the record `ObjData`, with three buttons: "confirm" copies the
// rows into the record and commits its variables (StencilStore), showing
// the report in the window, "Add Stencil" adds a
// row to each column, "Delete Stencil" removes the row chosen last. While
// `hide` is set the whole panel lies `hideOffset` to the right, off screen.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "converter/CppData.h"
#include "framework/ObjectTemplate.h"

namespace ObjectData::StencilObjProp {

// At most this many rows per column are made from the record.
constexpr int kRowsFromRecord = 32;

struct Variables {
    std::string objType;
    std::string objName;
    bool hide = true;
    bool oldHideState = false;
    // The properties level sets it again before the first frame; a panel that
    // runs before that still hides by the same distance.
    float hideOffset = 10.0f;
    float varNameListX = -0.15f;
    float TypeListX = -0.4f;
    float valueListX = 0.25f;
    Object* applyButton = nullptr;
    Object* addButton = nullptr;
    Object* deleteButton = nullptr;
    std::string clickedStencil = "nothing";
    std::vector<Object*> myTypeList;
    std::vector<Object*> myVariableList;
    std::vector<Object*> myObjValueList;
    CppData ObjData;
    std::int32_t lastSelectedVariable = -1;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The panel's variables, or null for other objects.
Variables* Find(Entity* entity);

// The panel's rows into its record, as "confirm" takes them, committing
// nothing (a build commits both panels at once).
void TakeRows(Entity* panel);

// "Load" of the stencil panels: no label is pending.
void Load(Entity* self, Entity* other);

// The hiding of a stencil panel: when hide differs from the state last
// applied, stores it and moves the buttons and every row of the columns
// hideOffset to the right when hiding, back when showing.
void ApplyHiding(bool hide, bool& oldHideState, float hideOffset, std::initializer_list<Object*> buttons,
                 std::initializer_list<const std::vector<Object*>*> columns);

// Moves a panel's pieces by dx: each object's `position` x, or its Text's
// when it has no position of its own.
void Shift(const std::vector<Object*>& pieces, float dx);

}  // namespace ObjectData::StencilObjProp
