#include "collision/SolverData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/Entity.h"
#include "framework/Game.h"
#include "framework/LevelCollision.h"
#include "framework/Variables.h"

const std::uint32_t SolverClumpColors[7] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF00FFFF,
                                            0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF};
int SolverClumpCount = 0;
std::vector<std::pair<int, Entity*>> SolverObjectList;

namespace {

using Record = SolverData::Record;

bool IsOpen(int cell) { return cell == LevelCellValue::NoCollision || cell >= LevelCellValue::Fireflies; }

// Terrain of any kind blocks a path; empty cells, objects and cells outside
// the grid do not.
bool Blocks(const LevelCollision* grid, int x, int y) {
    if (grid == nullptr) return false;
    int cell = grid->GetCell(x, y);
    return cell >= 1 && cell <= 99;
}

// Flags the record at (column, row) or makes one with the given extent. The
// map covers 200 × 200 cells; places outside it get no record (a wider level's
// column would otherwise alias a cell of the next row).
void AddOrFlag(SolverData* d, int column, int row, float left, float right, float bottom, float top, int flags) {
    if (column < 0 || column >= SolverData::kMapSide || row < 0 || row >= SolverData::kMapSide) return;
    Record*& slot = d->cellMap[static_cast<std::size_t>(row) * SolverData::kMapSide + column];
    if (slot != nullptr) {
        slot->flags |= flags;
        return;
    }
    Record& r = d->records.emplace_back();
    r.column = column;
    r.row = row;
    r.flags = flags;
    r.left = left;
    r.right = right;
    r.bottom = bottom;
    r.top = top;
    r.entry = std::prev(d->records.end());
    slot = &r;
}

void AddCellPlace(SolverData* d, int x, int y, int flags) {
    AddOrFlag(d, x, y, static_cast<float>(x), static_cast<float>(x + 1), static_cast<float>(y),
              static_cast<float>(y + 1), flags);
}

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// The cells between two records and up to three rows above the lower one
// must hold no terrain. lowRows of them (from the lower row up) are read from
// the column after L to the column before R's first; the rows above from L's
// last column to the column next to R.
bool ClearPath(const LevelCollision* grid, const Record& L, const Record& R, int lowRows) {
    int lo = std::min(L.row, R.row);
    int a = Trunc(L.right + 0.5);
    int b = Trunc(R.left - 0.5);
    int a2 = Trunc(L.right - 0.5);
    for (int y = lo; y < lo + lowRows; ++y) {
        for (int x = a; x < b; ++x) {
            if (Blocks(grid, x, y)) return false;
        }
    }
    for (int y = lo + lowRows; y <= lo + 3; ++y) {
        for (int x = a2; x <= b; ++x) {
            if (Blocks(grid, x, y)) return false;
        }
    }
    return true;
}

bool Stands(const Record& r) { return (r.flags & SolverData::kStanding) != 0; }

// Whether m (already in a clump) and r (being taken) lie within reach of each other.
bool Linked(const LevelCollision* grid, const Record& m, const Record& r) {
    bool mStands = Stands(m);
    bool rStands = Stands(r);
    if (!mStands && !rStands) return false;
    if (mStands && rStands) {
        int dy = std::abs(r.row - m.row);
        const Record& L = r.column > m.column ? m : r;
        const Record& R = r.column > m.column ? r : m;
        int gap = Trunc(static_cast<double>(R.left - L.right) + 0.1);
        if (dy <= 1) return gap + 4 * dy <= 12 && ClearPath(grid, L, R, 1);
        if (dy == 2) return gap >= 0 && gap <= 4 && ClearPath(grid, L, R, 2);
        return false;
    }
    // Exactly one stands: the other can be reached only from below, one or two rows up.
    const Record& S = mStands ? m : r;
    const Record& W = mStands ? r : m;
    int d = W.row - S.row;
    const Record& L = W.column > S.column ? S : W;
    const Record& R = W.column > S.column ? W : S;
    int gap = Trunc(static_cast<double>(R.left - L.right) + 0.1);
    if (d == 1) return gap <= 3 && ClearPath(grid, L, R, 1);
    if (d == 2) return gap <= 4 && ClearPath(grid, L, R, 2);
    return false;
}

}  // namespace

SolverData::Record* SolverData::At(int column, int row) const {
    if (column < 0 || column >= kMapSide || row < 0 || row >= kMapSide) return nullptr;
    return cellMap[static_cast<std::size_t>(row) * kMapSide + column];
}

bool SolverCanStandOn(int cell) {
    using V = LevelCellValue;
    switch (cell) {
        case V::GrassTile:
        case V::DirtTile:
        case V::SpikesRight:
        case V::SpikesDown:
        case V::SpikesLeft:
        case V::BreakableTile: return true;
        default: return false;
    }
}

bool SolverCanWallOnLeft(int cell) {
    using V = LevelCellValue;
    switch (cell) {
        case V::GrassTile:
        case V::DirtTile:
        case V::SpikesUp:
        case V::SpikesRight:
        case V::SpikesDown:
        case V::BreakableTile: return true;
        default: return false;
    }
}

bool SolverCanWallOnRight(int cell) {
    using V = LevelCellValue;
    switch (cell) {
        case V::GrassTile:
        case V::DirtTile:
        case V::SpikesUp:
        case V::SpikesDown:
        case V::SpikesLeft:
        case V::BreakableTile: return true;
        default: return false;
    }
}

void SolverAddObject(Entity* e, int flags) { SolverObjectList.emplace_back(flags, e); }

void SolverAddWaypoint(SolverData* d, const D3DXVECTOR3& p, int flags) {
    if (d == nullptr) return;
    // Tested on the floats, so that NaN and huge values never reach the conversion.
    if (!(p.x >= 0.0f && p.x < static_cast<float>(SolverData::kMapSide)) ||
        !(p.y >= 0.0f && p.y < static_cast<float>(SolverData::kMapSide))) {
        return;
    }
    AddOrFlag(d, static_cast<int>(p.x), static_cast<int>(p.y), p.x - 0.5f, p.x + 0.5f, p.y - 0.5f, p.y + 0.5f, flags);
}

void GetMacroData(SolverData* d) {
    if (d == nullptr) return;
    // The start waypoint is where players are created; without a game entity
    // there is none (the position below lies off the map).
    D3DXVECTOR3 start(-1.0f, -1.0f, 0.0f);
    if (const D3DXVECTOR3* p = FindVariable<D3DXVECTOR3>(GetMyGame(), enum_startPos)) start = *p;
    GetMacroData(d, start);
}

void GetMacroData(SolverData* d, const D3DXVECTOR3& start) {
    if (d == nullptr) return;
    // The clumps point into the records about to be deleted.
    d->clumps.clear();
    d->cellMap.assign(SolverData::kMapCells, nullptr);
    d->records.clear();

    SolverAddWaypoint(d, start, SolverData::kWaypoint);
    for (const auto& [flags, entity] : SolverObjectList) {
        // An entity without a position has no place on the map.
        if (const D3DXVECTOR3* p = FindVariable<D3DXVECTOR3>(entity, enum_position)) SolverAddWaypoint(d, *p, flags);
    }
    SolverObjectList.clear();

    const LevelCollision* grid = d->grid;
    if (grid != nullptr && grid->GetGridPtr() != nullptr) {
        int w = grid->GetWidth();
        int h = grid->GetHeight();
        for (int y = 0; y + 1 < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (SolverCanStandOn(grid->GetCell(x, y)) && IsOpen(grid->GetCell(x, y + 1))) {
                    AddCellPlace(d, x, y + 1, SolverData::kStanding);
                }
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 1; x < w; ++x) {
                if (SolverCanWallOnLeft(grid->GetCell(x, y)) && IsOpen(grid->GetCell(x - 1, y))) {
                    AddCellPlace(d, x - 1, y, SolverData::kWallRight);
                }
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x + 1 < w; ++x) {
                if (SolverCanWallOnRight(grid->GetCell(x, y)) && IsOpen(grid->GetCell(x + 1, y))) {
                    AddCellPlace(d, x + 1, y, SolverData::kWallLeft);
                }
            }
        }
    }

    // Each horizontal run of standing places becomes one record, its rightmost,
    // spanning the run; every cell of the run points to it.
    for (int i = 0; i + 1 < SolverData::kMapCells; ++i) {
        if (i % SolverData::kMapSide == SolverData::kMapSide - 1) continue;
        Record* left = d->cellMap[static_cast<std::size_t>(i)];
        Record* right = d->cellMap[static_cast<std::size_t>(i) + 1];
        if (left == nullptr || right == nullptr || left == right || !Stands(*left) || !Stands(*right)) continue;
        right->left = left->left;
        right->flags |= left->flags;
        for (int j = i; j >= 0 && d->cellMap[static_cast<std::size_t>(j)] == left; --j) {
            d->cellMap[static_cast<std::size_t>(j)] = right;
        }
        d->records.erase(left->entry);
    }
}

void GenerateClumps(SolverData* d) {
    if (d == nullptr) return;
    d->clumps.clear();
    for (Record& r : d->records) {
        r.links.clear();
        r.clump = nullptr;
    }
    const LevelCollision* grid = d->grid;
    for (Record& r : d->records) {
        std::vector<SolverData::Clump*> touched;
        for (SolverData::Clump& c : d->clumps) {
            bool any = false;
            for (Record* m : c.members) {
                if (Linked(grid, *m, r)) {
                    m->links.push_back(&r);
                    r.links.push_back(m);
                    any = true;
                }
            }
            if (any) touched.push_back(&c);
        }
        if (touched.empty()) {
            SolverData::Clump& c = d->clumps.emplace_front();
            c.ownEntry = d->clumps.begin();
            c.color = SolverClumpColors[SolverClumpCount % 7];
            ++SolverClumpCount;
            r.clump = &c;
            c.members.push_back(&r);
            continue;
        }
        // The most recently made touched clump takes r and then the others' members.
        SolverData::Clump* into = touched.front();
        r.clump = into;
        into->members.push_back(&r);
        for (std::size_t k = 1; k < touched.size(); ++k) {
            SolverData::Clump* other = touched[k];
            for (Record* m : other->members) {
                into->members.push_back(m);
                m->clump = into;
            }
            d->clumps.erase(other->ownEntry);
        }
    }
}

void RefineMacroData(SolverData* d) { GenerateClumps(d); }
