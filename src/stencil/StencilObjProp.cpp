#include "stencil/StencilObjProp.h"

#include <algorithm>

#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"

namespace ObjectData::StencilObjProp {

namespace {

VariableOffsetTable table;

const StencilRows::RowLook kNameLook{{0.2f, 0.025f}, {220.0f, 150.0f, 150.0f}, true};
const StencilRows::RowLook kValueLook{{0.5f, 0.025f}, {150.0f, 150.0f, 150.0f}, true};

// Type, name, value: the order in which rows are made and taken apart.
std::vector<StencilRows::Column> Columns(Variables& v) {
    return {{&v.myTypeList, v.TypeListX, &kNameLook},
            {&v.myVariableList, v.varNameListX, &kNameLook},
            {&v.myObjValueList, v.valueListX, &kValueLook}};
}

using StencilPanel::RowsDx;

std::size_t RowCount(const Variables& v) {
    return std::min({v.myTypeList.size(), v.myVariableList.size(), v.myObjValueList.size()});
}

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const std::vector<std::string>* texts[] = {&v.ObjData.varTypes, &v.ObjData.varNames, &v.ObjData.varValues};
    const std::vector<StencilRows::Column> columns = Columns(v);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::vector<std::string>& record = *texts[c];
        for (std::size_t k = 0; k < record.size() && k < static_cast<std::size_t>(kRowsFromRecord); ++k)
            StencilRows::Append(self, columns[c], record[k], RowsDx(v));
    }
    StencilPanel::MakeButtons(self, v, "Adds a variable", "Removes the chosen variable");
}

// The rows' texts into the record. Only indices that have a row in every
// column and an element in every list.
void RowsIntoRecord(Variables& v) {
    CppData& d = v.ObjData;
    const std::size_t n = std::min({d.varValues.size(), d.varNames.size(), d.varTypes.size(), RowCount(v)});
    for (std::size_t i = 0; i < n; ++i) {
        d.varTypes[i] = StencilRows::Text(v.myTypeList[i]);
        d.varNames[i] = StencilRows::Text(v.myVariableList[i]);
        d.varValues[i] = StencilRows::Text(v.myObjValueList[i]);
    }
}

// The rows into the record, and the record's variables committed: kept for
// the run, saved as the stencil's script, the report shown in the window.
void Commit(Entity* self, Variables& v) {
    RowsIntoRecord(v);
    LevelData::StencilObjPropLevel::ShowReport(self->_state, StencilStore::CommitVariables(v.ObjData).report);
}

void AddStencil(Entity* self, Variables& v) {
    // Row i stands for element i. A record with more variables than the panel
    // made rows for keeps its extra ones after the rows: the new element goes
    // in where the new row stands, so a commit never writes the new row over
    // a variable that has no row of its own.
    const std::size_t at = RowCount(v);
    for (std::vector<std::string>* list : {&v.ObjData.varNames, &v.ObjData.varTypes, &v.ObjData.varValues})
        list->insert(list->begin() + static_cast<std::ptrdiff_t>(std::min(at, list->size())), "------");
    const std::vector<StencilRows::Column> columns = Columns(v);
    StencilRows::Append(self, columns[0], "int", RowsDx(v));
    StencilRows::Append(self, columns[1], "DEFAULT", RowsDx(v));
    StencilRows::Append(self, columns[2], "INSERT VALUE", RowsDx(v));
}

void DeleteStencil(Variables& v) {
    if (v.lastSelectedVariable < 0) return;
    const auto i = static_cast<std::size_t>(v.lastSelectedVariable);
    StencilRows::RemoveRow(Columns(v), i);
    for (std::vector<std::string>* list : {&v.ObjData.varNames, &v.ObjData.varTypes, &v.ObjData.varValues})
        if (i < list->size()) list->erase(list->begin() + static_cast<std::ptrdiff_t>(i));
    v.lastSelectedVariable = -1;
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    for (std::size_t i = 0; i < v.myObjValueList.size(); ++i) {
        const auto selected = [i](const std::vector<Object*>& rows) {
            return i < rows.size() && StencilRows::Selected(rows[i]);
        };
        if (selected(v.myTypeList) || selected(v.myVariableList) || selected(v.myObjValueList)) {
            v.lastSelectedVariable = static_cast<std::int32_t>(i);
            break;
        }
    }

    StencilPanel::ApplyHiding(v, {&v.myTypeList, &v.myVariableList, &v.myObjValueList});
    StencilPanel::HandleClick(
        v, [&] { Commit(self, v); }, [&] { AddStencil(self, v); }, [&] { DeleteStencil(v); });
}

}  // namespace

void TakeRows(Entity* panel) {
    if (Variables* v = Find(panel)) RowsIntoRecord(*v);
}

Variables* Find(Entity* entity) { return StencilPanel::Find<Variables>(entity, table); }

void _Init(Object*& slot) {
    _DATA* prototype = StencilPanel::Begin<Variables>(slot, "StencilObjProp", table, &Init, &Behavior);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_varNameListX, v.varNameListX);
    BindVariable(table, *prototype, enum_TypeListX, v.TypeListX);
    BindVariable(table, *prototype, enum_valueListX, v.valueListX);
    BindVariable(table, *prototype, enum_myTypeList, v.myTypeList);
    BindVariable(table, *prototype, enum_myVariableList, v.myVariableList);
    BindVariable(table, *prototype, enum_myObjValueList, v.myObjValueList);
}

}  // namespace ObjectData::StencilObjProp
