#pragma once
#include <vector>

#include "framework/Vector.h"

// One undoable editor step. It records differences, not values: entry i adds
// deltas[i] to the cell at positions[i] (column, row). Each time the step is
// applied (undone or redone) the deltas change sign and the grid's valid flag
// is exchanged with validFlag, so the same record serves both directions.
struct Action {
    std::vector<int> deltas;
    std::vector<D3DXVECTOR2> positions;
    bool validFlag = false;
};
