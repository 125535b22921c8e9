#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/Vector.h"

class Entity;
class LevelCollision;

// The bot path solver's coarse map of a level: places a player character can
// use (cells to stand on, walls to cling to, objects and waypoints), the links
// between places within reach of each other, and the clumps of linked places.
// Game thread only.
class SolverData {
public:
    // The map covers columns and rows 0 to kMapSide − 1.
    static constexpr int kMapSide = 200;
    static constexpr int kMapCells = kMapSide * kMapSide;

    // Record flags.
    static constexpr int kWaypoint = 8;     // the level's start position
    static constexpr int kStanding = 64;    // an empty cell on a block that can be stood on
    static constexpr int kWallRight = 128;  // the right-hand neighbour can be clung to
    static constexpr int kWallLeft = 256;   // the left-hand neighbour can be clung to

    struct Clump;

    // One place of the map, in cells (y grows upward).
    struct Record {
        int column = 0;
        int row = 0;
        std::vector<Record*> links;  // records within reach, both ways
        Clump* clump = nullptr;
        int flags = 0;
        float left = 0.0f;
        float right = 0.0f;
        float bottom = 0.0f;
        float top = 0.0f;
        std::list<Record>::iterator entry;  // this record's place in the record list
    };

    // A set of places connected by links, told apart by its colour.
    struct Clump {
        std::vector<Record*> members;  // in the order in which they joined
        std::list<Clump>::iterator ownEntry;
        std::uint32_t color = 0;
    };

    explicit SolverData(LevelCollision* grid = nullptr) : grid(grid), cellMap(kMapCells, nullptr) {}
    // Records point at each other, so a copy takes only the grid and starts
    // empty; GetMacroData builds its map.
    SolverData(const SolverData& other) : SolverData(other.grid) {}
    SolverData& operator=(const SolverData& other) {
        if (this != &other) {
            clumps.clear();
            records.clear();
            cellMap.assign(kMapCells, nullptr);
            grid = other.grid;
        }
        return *this;
    }

    // The record at (column, row), or null.
    Record* At(int column, int row) const;

    LevelCollision* grid;          // not owned
    std::list<Record> records;     // in order of creation
    std::list<Clump> clumps;       // the most recently made first
    std::vector<Record*> cellMap;  // row × kMapSide + column
};

// The clump colours, opaque blue, green, red, cyan, magenta, yellow and white.
extern const std::uint32_t SolverClumpColors[7];
// How many clumps the process has made; picks each new clump's colour. Never reset.
extern int SolverClumpCount;
// Objects to enter into the next map, with their flags; emptied by GetMacroData.
extern std::vector<std::pair<int, Entity*>> SolverObjectList;

bool SolverCanStandOn(int cell);
bool SolverCanWallOnLeft(int cell);
bool SolverCanWallOnRight(int cell);
void SolverAddObject(Entity* e, int flags);
// Flags the record of the cell holding p, or makes one (extent p ± 0.5).
// Positions outside the map (or not numbers) are ignored.
void SolverAddWaypoint(SolverData* d, const D3DXVECTOR3& p, int flags);
// Rebuilds d's records and cell map from its grid: the start waypoint (the
// game entity's startPos, or the start given), the objects of
// SolverObjectList (which is then emptied) and the standing and wall places.
// The old clumps go with the old records.
void GetMacroData(SolverData* d);
void GetMacroData(SolverData* d, const D3DXVECTOR3& start);
// Links the records and groups them into clumps; any earlier links and clumps
// of d are dropped first, so a second call gives the same grouping.
void GenerateClumps(SolverData* d);
void RefineMacroData(SolverData* d);

// How a bound variable of this type is named to the script converter.
inline std::string VariableTypeText(std::type_identity<SolverData*>) { return "SolverData*"; }
