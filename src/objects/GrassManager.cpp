#include "objects/GrassManager.h"

#include <algorithm>

#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"

namespace ObjectData::GrassManager {

namespace {

VariableOffsetTable table;

// The manager's copy gets the five words and then builds fresh tables in its "Load".
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    Variables& v = VariablesOf<Variables>(copy);
    v.grassBladeCount = nullptr;
    v.grassBlade = nullptr;
    v.grassBladeCountGraphics = nullptr;
    v.grassBladeGraphics = nullptr;
    copy->DoEvent("Load");
}

void Release(Variables& v) {
    delete v.grassBladeCount;
    delete v.grassBlade;
    delete[] v.grassBladeCountGraphics;
    delete[] v.grassBladeGraphics;
    v.grassBladeCount = nullptr;
    v.grassBlade = nullptr;
    v.grassBladeCountGraphics = nullptr;
    v.grassBladeGraphics = nullptr;
}

bool Ready(const Variables& v) {
    return v.grassBladeCount != nullptr && v.grassBlade != nullptr && v.grassBladeCountGraphics != nullptr &&
           v.grassBladeGraphics != nullptr;
}

// Writes blade into slot `count` of a table and counts it while below the limit.
void Put(std::vector<Entity*>& slots, std::uint32_t& count, std::uint32_t limit, Entity* blade) {
    if (slots.size() <= count) slots.resize(count + 1, nullptr);
    slots[count] = blade;
    if (count < limit) ++count;
}

int Clamp(int value, int high) { return std::clamp(value, 0, high); }

int BlockOf(int unit) { return Clamp(unit / kBlockUnits, kBlocks - 1); }

}  // namespace

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Release(v);
    v.grassBladeCount = new CellCounts();
    v.grassBlade = new CellSlots();
    v.grassBladeCountGraphics = new std::uint32_t[kBlocks * kBlocks]();
    v.grassBladeGraphics = new BlockSlots[kBlocks * kBlocks];
}

void Unload(Entity* self, Entity*) { Release(VariablesOf<Variables>(self)); }

void AddGrass(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* blade = v.currentGrass;
    if (blade == nullptr || !Ready(v)) return;
    const auto* at = FindVariable<D3DXVECTOR2>(blade, enum_position);
    if (at == nullptr) return;
    const int px = static_cast<int>(at->x), py = static_cast<int>(at->y);

    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const int x = px + dx, y = py + dy;
            if (x < 0 || x >= kCells || y < 0 || y >= kCells) continue;
            const auto cell = static_cast<std::uint32_t>(y * kCells + x);
            Put((*v.grassBlade)[cell], (*v.grassBladeCount)[cell], kCellLimit, blade);
        }
    }

    for (int dx = -20; dx <= 20; ++dx) {
        const int column = BlockOf(px + dx);
        if (dx != -20 && column == BlockOf(px + dx - 1)) continue;
        for (int dy = -12; dy <= 12; ++dy) {
            const int row = BlockOf(py + dy);
            if (dy != -12 && row == BlockOf(py + dy - 1)) continue;
            const int block = row * kBlocks + column;
            Put(v.grassBladeGraphics[block], v.grassBladeCountGraphics[block], kBlockLimit, blade);
        }
    }
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (!Ready(v)) return;
    for (int n = 0; n < 16; ++n) {
        Entity* player = self->GetMyObject(PlayerObjectName(n).c_str());
        if (player == nullptr) continue;
        const auto* at = FindVariable<D3DXVECTOR2>(player, enum_position);
        const int x = Clamp(at != nullptr ? static_cast<int>(at->x) : 0, kCells - 1);
        const int y = Clamp(at != nullptr ? static_cast<int>(at->y) : 0, kCells - 1);
        const auto cell = static_cast<std::uint32_t>(y * kCells + x);
        const auto count = v.grassBladeCount->find(cell);
        if (count == v.grassBladeCount->end()) continue;
        const std::vector<Entity*>& slots = (*v.grassBlade)[cell];
        for (std::uint32_t i = 0; i < count->second; ++i) Entity::_DoEvent("Flatten", slots[i], slots[i]);
    }
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (!Ready(v)) return;
    Entity* camera = self->GetMyObject("Camera");
    if (camera == nullptr) return;
    const auto* at = FindVariable<D3DXVECTOR2>(camera, enum_position);
    const int bx = BlockOf(at != nullptr ? static_cast<int>(at->x) : 0);
    const int by = BlockOf(at != nullptr ? static_cast<int>(at->y) : 0);
    const int block = by * kBlocks + bx;
    const std::vector<Entity*>& slots = v.grassBladeGraphics[block];
    for (std::uint32_t i = 0; i < v.grassBladeCountGraphics[block]; ++i)
        Entity::_DoEvent("XGraphicsDraw", slots[i], slots[i]);
}

std::uint32_t CellCount(Entity* manager, int x, int y) {
    const Variables& v = VariablesOf<Variables>(manager);
    if (!Ready(v) || x < 0 || x >= kCells || y < 0 || y >= kCells) return 0;
    const auto found = v.grassBladeCount->find(static_cast<std::uint32_t>(y * kCells + x));
    return found != v.grassBladeCount->end() ? found->second : 0;
}

const Entity* CellSlot(Entity* manager, int x, int y, std::uint32_t slot) {
    const Variables& v = VariablesOf<Variables>(manager);
    if (!Ready(v) || x < 0 || x >= kCells || y < 0 || y >= kCells) return nullptr;
    const auto found = v.grassBlade->find(static_cast<std::uint32_t>(y * kCells + x));
    if (found == v.grassBlade->end() || slot >= found->second.size()) return nullptr;
    return found->second[slot];
}

std::uint32_t BlockCount(Entity* manager, int bx, int by) {
    const Variables& v = VariablesOf<Variables>(manager);
    if (!Ready(v) || bx < 0 || bx >= kBlocks || by < 0 || by >= kBlocks) return 0;
    return v.grassBladeCountGraphics[by * kBlocks + bx];
}

const Entity* BlockSlot(Entity* manager, int bx, int by, std::uint32_t slot) {
    const Variables& v = VariablesOf<Variables>(manager);
    if (!Ready(v) || bx < 0 || bx >= kBlocks || by < 0 || by >= kBlocks) return nullptr;
    const BlockSlots& slots = v.grassBladeGraphics[by * kBlocks + bx];
    return slot < slots.size() ? slots[slot] : nullptr;
}

std::size_t MemoryBytes(Entity* manager) {
    const Variables& v = VariablesOf<Variables>(manager);
    if (!Ready(v)) return 0;
    // A hash node holds its key and value and a link; each bucket is one pointer.
    constexpr std::size_t kNodeLink = sizeof(void*);
    std::size_t bytes = sizeof(CellCounts) + sizeof(CellSlots);
    bytes += v.grassBladeCount->bucket_count() * sizeof(void*) +
             v.grassBladeCount->size() * (sizeof(CellCounts::value_type) + kNodeLink + sizeof(std::size_t));
    bytes += v.grassBlade->bucket_count() * sizeof(void*) +
             v.grassBlade->size() * (sizeof(CellSlots::value_type) + kNodeLink + sizeof(std::size_t));
    for (const auto& [cell, slots] : *v.grassBlade) bytes += slots.capacity() * kSlotBytes;
    bytes += std::size_t{kBlocks} * kBlocks * (sizeof(std::uint32_t) + sizeof(BlockSlots));
    for (int block = 0; block < kBlocks * kBlocks; ++block)
        bytes += v.grassBladeGraphics[block].capacity() * kSlotBytes;
    return bytes;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "GrassManager", table, &Copy);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("AddGrass", &AddGrass);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_grassBladeCount, v.grassBladeCount);
    BindVariable(table, p, enum_grassBlade, v.grassBlade);
    BindVariable(table, p, enum_grassBladeCountGraphics, v.grassBladeCountGraphics);
    BindVariable(table, p, enum_grassBladeGraphics, v.grassBladeGraphics);
    BindVariable(table, p, enum_currentGrass, v.currentGrass);
}

}  // namespace ObjectData::GrassManager
