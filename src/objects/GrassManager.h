#pragma once
// "GrassManager": keeps the level's grass blades in two spatial indexes and
// raises "Flatten" only on the blades near each player and "XGraphicsDraw"
// only on the blades near the camera.
//
// The contact index divides the level into 512 x 512 cells of one unit, each
// counting at most 255 blades in up to 256 slots; the drawing index divides
// it into 32 x 32 blocks of 16 x 16 units, each counting at most 131,071
// blades in up to 131,072 slots. Held as fixed tables those limits take
// 769 MiB with 4-byte references and twice that with 8-byte ones, almost
// all of it empty, so cells are kept only once a blade reaches them and
// every slot table grows with its blades. Slot order, counts and the
// overwriting of the last slot of a full cell or block are those of the
// fixed tables.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "framework/ObjectTemplate.h"

namespace ObjectData::GrassManager {

constexpr int kCells = 512;
constexpr std::uint32_t kCellSlots = 256;
constexpr std::uint32_t kCellLimit = 255;
constexpr int kBlocks = 32;
constexpr int kBlockUnits = 16;
constexpr std::uint32_t kBlockSlots = 131072;
constexpr std::uint32_t kBlockLimit = 131071;

// The contact index: counts and slot tables by cell number (y * 512 + x);
// a cell no blade reaches has neither.
using CellCounts = std::unordered_map<std::uint32_t, std::uint32_t>;
using CellSlots = std::unordered_map<std::uint32_t, std::vector<Entity*>>;
// The drawing index: 1,024 counts and 1,024 slot tables by block number (by * 32 + bx).
using BlockSlots = std::vector<Entity*>;

struct Variables {
    CellCounts* grassBladeCount = nullptr;
    CellSlots* grassBlade = nullptr;
    std::uint32_t* grassBladeCountGraphics = nullptr;
    BlockSlots* grassBladeGraphics = nullptr;
    Entity* currentGrass = nullptr;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Load(Entity* self, Entity* other);
void Unload(Entity* self, Entity* other);
void AddGrass(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

// Reading the indexes. A cell's blades are its first count slots; the
// last slot of a full cell or block is written but lies past its count.
std::uint32_t CellCount(Entity* manager, int x, int y);
const Entity* CellSlot(Entity* manager, int x, int y, std::uint32_t slot);  // null when never written
std::uint32_t BlockCount(Entity* manager, int bx, int by);
const Entity* BlockSlot(Entity* manager, int bx, int by, std::uint32_t slot);

// The bytes the manager's tables hold now (counts, slot tables, hash buckets).
std::size_t MemoryBytes(Entity* manager);
// A slot holds a pointer to a blade: its bytes are a pointer's.
constexpr std::size_t kSlotBytes = sizeof(Entity*);  // NOLINT(bugprone-sizeof-expression)
// The bytes the same limits take as fixed tables.
constexpr std::size_t kFixedTableBytes =
    std::size_t{kCells} * kCells * (sizeof(std::uint32_t) + kCellSlots * kSlotBytes) +
    std::size_t{kBlocks} * kBlocks * (sizeof(std::uint32_t) + kBlockSlots * kSlotBytes);

}  // namespace ObjectData::GrassManager
