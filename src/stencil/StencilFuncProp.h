#pragma once
// "StencilFuncProp": the functions panel of a stencil's properties window.
// It edits the `functions` of its own record as three columns of one-line
// boxes per function (type, return type, name), with a commit, an add-row
// and a remove-row button; F6 on a chosen row opens that function's code
// block ("StencilCodeBlock") in a window of its own.
#include <vector>

#include "framework/ObjectTemplate.h"
#include "stencil/StencilPanel.h"

namespace ObjectData::StencilFuncProp {

struct Variables : StencilPanel::Panel {
    Variables() : Panel(false) {}
    float FunctionTypeX = 0.3f;
    float FunctionNameX = -0.05f;
    float ReturnListX = -0.4f;
    std::vector<Object*> myFuncTypeList;
    std::vector<Object*> myReturnList;
    std::vector<Object*> myFuncNameList;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The panel's variables, or null for other entities.
Variables* Find(Entity* entity);

// The panel's rows into its record, as "confirm" takes them, committing
// nothing (a build commits both panels at once).
void TakeRows(Entity* panel);

}  // namespace ObjectData::StencilFuncProp
