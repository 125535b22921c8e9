#include "framework/LevelCollision.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "framework/AtomicFile.h"
#include "framework/Globals.h"
#include "framework/Resources.h"
#include "framework/UserFile.h"

namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kMaxFileBytes =
    12 + 4 * static_cast<std::size_t>(LevelCollision::kMaxSide) * LevelCollision::kMaxSide;

std::uint32_t ReadU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void WriteU32(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 16) & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 24) & 0xFF));
}

// Cell arithmetic wraps like the 32-bit values it works on, never undefined.
int WrapAdd(int a, int b) { return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)); }
int WrapNegate(int a) { return static_cast<int>(0u - static_cast<std::uint32_t>(a)); }

bool SideInRange(long long side) { return side >= 1 && side <= LevelCollision::kMaxSide; }

// The full path of a level file, or empty when the name cannot be one: no
// name, the bare extension (a level without a name), or a name that would
// reach outside the levels folder.
std::string LevelPath(const std::string& fileName) {
    if (fileName.empty() || fileName == ".lvl") return {};
    if (fileName.find('/') != std::string::npos || fileName.find('\0') != std::string::npos) return {};
    if (fileName == "." || fileName == "..") return {};
    if (Globals.userDataFolder[0] == '\0') return {};
    return std::string(Globals.userDataFolder) + "/Levels/" + fileName;
}

}  // namespace

LevelCollision::LevelCollision() = default;

LevelCollision::LevelCollision(int w, int h) : width(w > 0 ? w : 0), height(h > 0 ? h : 0), startPos(1.0f, 1.0f) {
    cells.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

LevelCollision::LevelCollision(const LevelCollision& other)
    : cells(other.cells),
      width(other.width),
      height(other.height),
      validFlag(other.validFlag),
      startPos(other.startPos) {}

LevelCollision& LevelCollision::operator=(const LevelCollision& other) {
    if (this == &other) return *this;
    cells = other.cells;
    tiles.clear();
    width = other.width;
    height = other.height;
    validFlag = other.validFlag;
    startPos = other.startPos;
    return *this;
}

LevelCollision::~LevelCollision() = default;

int LevelCollision::GetCell(int x, int y) const {
    if (!Inside(x, y)) return -1;
    return cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

int LevelCollision::GetCell(float x, float y) const {
    // Written so that NaN fails the test: a position from the network must
    // never reach the truncation.
    if (!(x >= 0.0f && x < static_cast<float>(width)) || !(y >= 0.0f && y < static_cast<float>(height))) return -1;
    return GetCell(static_cast<int>(x), static_cast<int>(y));
}

int LevelCollision::GetCell(D3DXVECTOR2 p) const { return GetCell(p.x, p.y); }

int LevelCollision::GetCell(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= CellCount()) return -1;
    return cells[static_cast<std::size_t>(index)];
}

int LevelCollision::GetGrid(int index) const { return cells[static_cast<std::size_t>(index)]; }

void LevelCollision::SetCell(float x, float y, int value) {
    if (!(x >= 0.0f && x < static_cast<float>(width)) || !(y >= 0.0f && y < static_cast<float>(height))) return;
    int ix = static_cast<int>(x);
    int iy = static_cast<int>(y);
    if (!Inside(ix, iy)) return;
    cells[static_cast<std::size_t>(iy) * static_cast<std::size_t>(width) + static_cast<std::size_t>(ix)] = value;
}

void LevelCollision::SetCell(D3DXVECTOR2 p, int value) { SetCell(p.x, p.y, value); }

void LevelCollision::SetCell(int index, int value) {
    if (index < 0 || static_cast<std::size_t>(index) >= CellCount()) return;
    cells[static_cast<std::size_t>(index)] = value;
}

void LevelCollision::SetGrid(const int* values) {
    if (values == nullptr || cells.empty()) return;
    std::memcpy(cells.data(), values, cells.size() * sizeof(int));
}

void LevelCollision::SetGrid(int value) { cells.assign(cells.size(), value); }

void LevelCollision::ClearGrid() {
    cells.assign(cells.size(), 0);
    validFlag = false;
    ClearUndoStack();
    ClearRedoStack();
}

void LevelCollision::SetBox() {
    for (int x = 0; x < width; ++x) {
        SetCell(static_cast<float>(x), 0.0f, 1);
        SetCell(static_cast<float>(x), static_cast<float>(height - 1), 1);
    }
    for (int y = 0; y < height; ++y) {
        SetCell(0.0f, static_cast<float>(y), 1);
        SetCell(static_cast<float>(width - 1), static_cast<float>(y), 1);
    }
}

void LevelCollision::Resize(int newWidth, int newHeight) {
    if (cells.empty()) return;
    if (!SideInRange(newWidth) || !SideInRange(newHeight)) return;
    std::vector<int> next(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight), 0);
    int keepWidth = std::min(width, newWidth);
    int keepHeight = std::min(height, newHeight);
    for (int y = 0; y < keepHeight; ++y) {
        for (int x = 0; x < keepWidth; ++x) {
            next[static_cast<std::size_t>(y) * newWidth + x] = cells[static_cast<std::size_t>(y) * width + x];
        }
    }
    width = newWidth;
    height = newHeight;
    validFlag = false;
    cells = std::move(next);
    tiles.clear();
}

float LevelCollision::SnapToCell(float f) { return std::trunc(f + 0.5f); }

void LevelCollision::SetWidth(float w) {
    if (!(w >= 1.0f && w < static_cast<float>(kMaxSide + 1))) return;
    Resize(static_cast<int>(w), height);
}

void LevelCollision::SetHeight(float h) {
    if (!(h >= 1.0f && h < static_cast<float>(kMaxSide + 1))) return;
    Resize(width, static_cast<int>(h));
}

// ---- Level files ----

bool LevelCollision::Save(const std::string& fileName) const {
    std::string path = LevelPath(fileName);
    if (path.empty()) return false;
    // A grid that Load would refuse is not written: it could not be opened again.
    if (!SideInRange(width) || !SideInRange(height) || cells.size() != static_cast<std::size_t>(width) * height) {
        return false;
    }
    std::vector<unsigned char> bytes;
    bytes.reserve(12 + 4 * cells.size());
    WriteU32(bytes, static_cast<std::uint32_t>(width));
    WriteU32(bytes, static_cast<std::uint32_t>(height));
    for (int v : cells) WriteU32(bytes, static_cast<std::uint32_t>(v));
    WriteU32(bytes, validFlag ? 1u : 0u);
    return WriteFileReplacing(path, bytes.data(), bytes.size());
}

bool LevelCollision::ReadLevelBytes(const unsigned char* data, std::size_t size, bool takeStart) {
    if (data == nullptr || size < kHeaderBytes) return false;
    std::uint32_t w = ReadU32(data);
    std::uint32_t h = ReadU32(data + 4);
    if (!SideInRange(w) || !SideInRange(h)) return false;
    std::uint64_t count = static_cast<std::uint64_t>(w) * h;
    if (static_cast<std::uint64_t>(size) != 12 + 4 * count) return false;

    std::vector<int> next(static_cast<std::size_t>(count));
    bool foundStart = false;
    D3DXVECTOR2 start = startPos;
    const unsigned char* p = data + kHeaderBytes;
    for (std::size_t i = 0; i < next.size(); ++i, p += 4) {
        next[i] = static_cast<int>(ReadU32(p));
        if (next[i] == LevelCellValue::LevelStart) {
            foundStart = true;
            // The start cell's column and row: whole division is meant.
            // NOLINTNEXTLINE(bugprone-integer-division)
            start = D3DXVECTOR2(static_cast<float>(i % w), static_cast<float>(i / w));
        }
    }
    // The flag is 1 for a level played through to its goal; any other word reads as not tested.
    bool flag = ReadU32(p) == 1;

    cells = std::move(next);
    tiles.clear();
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    validFlag = flag;
    if (takeStart && foundStart) startPos = start;
    // The history belongs to the contents that were just replaced.
    ClearUndoStack();
    ClearRedoStack();
    return true;
}

bool LevelCollision::FileExists(const std::string& fileName) {
    const std::string path = LevelPath(fileName);
    struct stat info {};
    return !path.empty() && ::lstat(path.c_str(), &info) == 0;
}

bool LevelCollision::Load(const std::string& fileName) {
    std::string path = LevelPath(fileName);
    if (path.empty()) return false;
    std::string bytes;
    if (!ReadUserFile(path, kMaxFileBytes, bytes)) return false;
    return ReadLevelBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), true);
}

bool LevelCollision::SLoad(int index) {
    // A missing grid is a failed load: the index may come from the network.
    if (index < 0 || index > 65535 - kFirstResource) return false;
    if (!HasInternalResource(static_cast<unsigned short>(kFirstResource + index))) return false;
    unsigned long size = 0;
    const void* data = LoadInternalResource(static_cast<unsigned short>(kFirstResource + index), &size);
    bool ok = ReadLevelBytes(static_cast<const unsigned char*>(data), size, false);
    FreeInternalResource(data);
    return ok;
}

bool LevelCollision::SaveCopyFile(const std::string& path) const {
    if (path.empty()) return false;
    std::string text = "const int width = " + std::to_string(width) + ";\n";
    text += "const int height = " + std::to_string(height) + ";\n";
    text += "int grid[" + std::to_string(width) + " * " + std::to_string(height) + "] = {";
    for (int v : cells) {
        text += std::to_string(v);
        text += ',';
    }
    text += "};\n";
    return WriteFileReplacing(path, text.data(), text.size());
}

// ---- Drawing tiles ----

int LevelCollision::TileNeighbor(int x, int y, int value) const {
    auto continues = [&](long long cx, long long cy) {
        if (cx < 0 || cx >= width || cy < 0 || cy >= height) return true;
        return GetCell(static_cast<int>(cx), static_cast<int>(cy)) == value;
    };
    long long lx = x, ly = y;
    int mask = 0;
    if (continues(lx, ly + 1)) mask |= 1;
    if (continues(lx + 1, ly)) mask |= 2;
    if (continues(lx, ly - 1)) mask |= 4;
    if (continues(lx - 1, ly)) mask |= 8;
    return mask;
}

void LevelCollision::GenerateTileGrid(int value) {
    if (cells.empty()) return;
    if (tiles.size() != cells.size()) tiles.assign(cells.size(), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * width + x;
            if (cells[i] == value) tiles[i] = TileNeighbor(x, y, value);
        }
    }
}

void LevelCollision::GenerateCompleteTileGrid() {
    for (int v = LevelCellValue::NoCollision; v <= LevelCellValue::BrokenTile; ++v) GenerateTileGrid(v);
    if (cells.empty()) return;
    // Grass and dirt blend: each continues the other.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * width + x;
            if (cells[i] == LevelCellValue::DirtTile) tiles[i] |= TileNeighbor(x, y, LevelCellValue::GrassTile);
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * width + x;
            if (cells[i] == LevelCellValue::GrassTile) tiles[i] |= TileNeighbor(x, y, LevelCellValue::DirtTile);
        }
    }
}

int LevelCollision::GetTileGridCell(int index) const {
    if (tiles.empty() || index < 0 || static_cast<std::size_t>(index) >= tiles.size()) return -1;
    return tiles[static_cast<std::size_t>(index)];
}

int LevelCollision::GetTileGridCell(int x, int y) const {
    // A column past the width reads into the next row, as the index does.
    long long index = static_cast<long long>(y) * width + x;
    if (tiles.empty() || index < 0 || index >= static_cast<long long>(tiles.size())) return -1;
    return tiles[static_cast<std::size_t>(index)];
}

// ---- Undo and redo ----

void LevelCollision::Push(Stack& stack, Action* a) {
    if (stack.size() >= kMaxActions) stack.erase(stack.begin());
    stack.emplace_back(a);
}

void LevelCollision::PushUndoAction(Action* a) {
    Push(undoStack, a);
    ClearRedoStack();
}

Action* LevelCollision::PopUndoAction() {
    if (undoStack.empty()) return nullptr;
    Action* a = undoStack.back().release();
    undoStack.pop_back();
    return a;
}

void LevelCollision::PushRedoAction(Action* a) { Push(redoStack, a); }

Action* LevelCollision::PopRedoAction() {
    if (redoStack.empty()) return nullptr;
    Action* a = redoStack.back().release();
    redoStack.pop_back();
    return a;
}

void LevelCollision::ClearUndoStack() { undoStack.clear(); }

void LevelCollision::ClearRedoStack() { redoStack.clear(); }

void LevelCollision::Apply(LevelCollision& grid, Action& a, bool backward) {
    const std::size_t n = std::min(a.deltas.size(), a.positions.size());
    // One record may hold a cell twice (a block lifted and dropped over
    // itself): undo walks the entries back from the last, redo forward, so
    // each entry finds the value the one before it left.
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = backward ? n - 1 - k : k;
        // The step's own record of the value it left decides what the cell
        // becomes, not what the cell holds now: writes that no step recorded
        // (the start cell, say) must not be carried into the result.
        // A cell that is no longer inside the grid (after a resize) is left alone.
        const bool stored = i < a.values.size();
        const int from = stored ? a.values[i] : grid.GetCell(a.positions[i]);
        const int to = WrapAdd(from, a.deltas[i]);
        grid.SetCell(a.positions[i], to);
        if (stored) a.values[i] = to;
        a.deltas[i] = WrapNegate(a.deltas[i]);
    }
    std::swap(grid.validFlag, a.validFlag);
}

void LevelCollision::Undo() {
    Action* r = PopUndoAction();
    if (r == nullptr) return;
    Apply(*this, *r, true);
    Push(redoStack, r);
}

void LevelCollision::Redo() {
    Action* r = PopRedoAction();
    if (r == nullptr) return;
    Apply(*this, *r, false);
    Push(undoStack, r);
}
