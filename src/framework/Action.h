#pragma once
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Vector.h"

// One undoable editor step. Entry i names the cell at positions[i] (column,
// row) and the value the step left there, values[i]; deltas[i] is what to add
// to that value to get the cell's other state (before the step while it can be
// undone, after it while it can be redone). Applying the step sets each cell
// to values[i] + deltas[i] — whatever the cell holds at the time, so a write
// that no step recorded cannot turn into a wrong code — then keeps that value
// and turns the delta round. A record built with deltas only (no values) adds
// its deltas to the cells as they are. Undo walks the entries from the last,
// redo from the first, so a cell listed twice comes back right. The grid's valid flag is exchanged with
// validFlag each time, so the same record serves both directions.
struct Action {
    std::vector<int> deltas;
    std::vector<D3DXVECTOR2> positions;
    std::vector<int> values;
    bool validFlag = false;

    // One changed cell: where, the value it held and the value written there.
    void Add(D3DXVECTOR2 position, int oldValue, int newValue) {
        positions.push_back(position);
        deltas.push_back(static_cast<int>(static_cast<unsigned>(oldValue) - static_cast<unsigned>(newValue)));
        values.push_back(newValue);
    }
};

inline std::string VariableTypeText(std::type_identity<Action*>) { return "Action*"; }
