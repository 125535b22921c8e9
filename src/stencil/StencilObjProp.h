#pragma once
// "StencilObjProp" ("VariableTable" of a properties window): the variables
// of one stencil as three columns of one-line rows (type, name, default
// value) over the record `ObjData`, with three buttons: "confirm" copies the
// rows into the record and commits its variables (StencilStore), showing
// the report in the window, "Add Stencil" adds a
// row to each column, "Delete Stencil" removes the row chosen last. It starts
// hidden.
#include <vector>

#include "framework/ObjectTemplate.h"
#include "stencil/StencilPanel.h"

namespace ObjectData::StencilObjProp {

// At most this many rows per column are made from the record.
constexpr int kRowsFromRecord = 32;

struct Variables : StencilPanel::Panel {
    Variables() : Panel(true) {}
    float varNameListX = -0.15f;
    float TypeListX = -0.4f;
    float valueListX = 0.25f;
    std::vector<Object*> myTypeList;
    std::vector<Object*> myVariableList;
    std::vector<Object*> myObjValueList;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The panel's variables, or null for other objects.
Variables* Find(Entity* entity);

// The panel's rows into its record, as "confirm" takes them, committing
// nothing (a build commits both panels at once).
void TakeRows(Entity* panel);

}  // namespace ObjectData::StencilObjProp
