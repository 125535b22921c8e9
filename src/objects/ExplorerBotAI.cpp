#include "framework/GameVariables.h"
#include "objects/Bots.h"

namespace ObjectData::ExplorerBotAI {

namespace {

VariableOffsetTable table;

// The grid with a one-cell border: -1 open, 0 terrain (grass, dirt, spikes)
// and the border.
void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    LevelCollision& grid = GameVars().basicLevel;
    v.levelCollision = &grid;
    const int w = grid.GetWidth(), h = grid.GetHeight();
    const int rowLength = w + 2;
    delete[] v.explorerGrid;
    v.explorerGrid = new std::int32_t[static_cast<std::size_t>(rowLength * (h + 2))];
    for (int y = 0; y < h + 2; ++y)
        for (int x = 0; x < rowLength; ++x) {
            const bool border = y == 0 || y == h + 1 || x == 0 || x == w + 1;
            const int cell = border ? 0 : grid.GetCell(x - 1, y - 1);
            v.explorerGrid[y * rowLength + x] = border || (cell >= 1 && cell <= 6) ? 0 : -1;
        }
}

void Unload(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    delete[] v.explorerGrid;
    v.explorerGrid = nullptr;
}

// A copy builds its own grid in its "Load".
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    VariablesOf<Variables>(copy).explorerGrid = nullptr;
    copy->DoEvent("Load");
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "ExplorerBotAI", table, &Copy);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", &Unload);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_explorerGrid, v.explorerGrid);
    BindVariable(table, *prototype, enum_levelCollision, v.levelCollision);
}

}  // namespace ObjectData::ExplorerBotAI
