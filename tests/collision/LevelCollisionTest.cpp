#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "framework/LevelCollision.h"
#include "support/FatalCapture.h"
#include "support/NotAFile.h"
#include "support/TempUserFolder.h"

namespace {

// Fixtures embedded by resources/collisiontest: the 3 × 2 grid of MakeSample
// with its flag set, and the same file one cell short.
constexpr int kFixtureGrid = 64000 - LevelCollision::kFirstResource;
constexpr int kFixtureShort = 64001 - LevelCollision::kFirstResource;

std::vector<unsigned char> U32(std::uint32_t v) {
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
            static_cast<unsigned char>(v >> 24)};
}

std::vector<unsigned char> Concat(std::initializer_list<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Row 0: grass, dirt, level start; row 1: empty, moon shard, breakable.
LevelCollision MakeSample() {
    LevelCollision g(3, 2);
    const int cells[6] = {1, 2, 101, 0, 108, 7};
    g.SetGrid(cells);
    return g;
}

std::vector<int> Cells(const LevelCollision& g) {
    const int* p = g.GetGridPtr();
    if (p == nullptr) return {};
    return std::vector<int>(p, p + static_cast<std::size_t>(g.GetWidth()) * g.GetHeight());
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Action* OneCellEdit(LevelCollision& g, int x, int y, int value) {
    auto* a = new Action;
    a->Add({static_cast<float>(x), static_cast<float>(y)}, g.GetCell(x, y), value);
    a->validFlag = g.GetValidFlag();
    g.SetValidFlag(false);
    g.SetCell(static_cast<float>(x), static_cast<float>(y), value);
    return a;
}

}  // namespace

TEST(LevelCollision, ConstructionAndCopies) {
    LevelCollision empty;
    EXPECT_EQ(empty.GetWidth(), 0);
    EXPECT_EQ(empty.GetCell(0, 0), -1);
    EXPECT_EQ(empty.GetGridPtr(), nullptr);
    EXPECT_EQ(empty.GetStartPos(), D3DXVECTOR2(-1, -1));

    LevelCollision sized(4, 3);
    EXPECT_EQ(Cells(sized), std::vector<int>(12, 0));
    EXPECT_EQ(sized.GetStartPos(), D3DXVECTOR2(1, 1));
    EXPECT_FALSE(sized.GetValidFlag());

    LevelCollision negative(-5, 3);
    EXPECT_EQ(negative.GetCell(0, 0), -1);

    // A copy takes the contents but neither the drawing tiles nor the history.
    LevelCollision source = MakeSample();
    source.SetValidFlag(true);
    source.GenerateCompleteTileGrid();
    source.PushUndoAction(OneCellEdit(source, 0, 0, 2));
    LevelCollision copy(source);
    EXPECT_EQ(Cells(copy), Cells(source));
    EXPECT_EQ(copy.GetValidFlag(), source.GetValidFlag());
    EXPECT_EQ(copy.UndoCount(), 0u);
    EXPECT_EQ(copy.GetTileGridCell(0), -1);

    // Assignment drops the target's drawing tiles and keeps its own stacks.
    LevelCollision target(2, 2);
    target.GenerateCompleteTileGrid();
    target.PushUndoAction(OneCellEdit(target, 1, 1, 5));
    target = source;
    EXPECT_EQ(Cells(target), Cells(source));
    EXPECT_EQ(target.GetWidth(), 3);
    EXPECT_EQ(target.GetTileGridCell(0), -1);
    EXPECT_EQ(target.UndoCount(), 1u);
}

TEST(LevelCollision, CellAccessRangeTests) {
    LevelCollision g(4, 3);
    for (int i = 0; i < 12; ++i) g.SetCell(i, i + 1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float x, y;
        int expected;
    };
    const Case cases[] = {
        {0, 0, 1},    {3.99f, 0, 4}, {3, 2, 12},         {2.7f, 1.2f, 7}, {-0.5f, 0, -1},
        {4, 0, -1},   {0, 3, -1},    {0, -0.01f, -1},    {nan, 0, -1},    {0, nan, -1},
        {inf, 0, -1}, {-inf, 0, -1}, {1e30f, 1e30f, -1}, {-1e30f, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g.GetCell(c.x, c.y), c.expected) << c.x << ", " << c.y;
        EXPECT_EQ(g.GetCell(D3DXVECTOR2(c.x, c.y)), c.expected) << c.x << ", " << c.y;
    }
    EXPECT_EQ(g.GetCell(4, 0), -1);
    EXPECT_EQ(g.GetCell(-1, 0), -1);
    EXPECT_EQ(g.GetCell(12), -1);
    EXPECT_EQ(g.GetCell(-1), -1);
    EXPECT_EQ(g.GetCell(11), 12);
    EXPECT_EQ(g.GetGrid(5), 6);

    // Writes outside the grid (NaN included) change nothing.
    std::vector<int> before = Cells(g);
    for (const Case& c : cases) {
        if (c.expected == -1) {
            g.SetCell(c.x, c.y, 99);
            g.SetCell(D3DXVECTOR2(c.x, c.y), 99);
        }
    }
    g.SetCell(12, 99);
    g.SetCell(-1, 99);
    EXPECT_EQ(Cells(g), before);
    g.SetCell(3.5f, 2.5f, 77);
    EXPECT_EQ(g.GetCell(3, 2), 77);

    EXPECT_EQ(LevelCollision::SnapToCell(2.4f), 2.0f);
    EXPECT_EQ(LevelCollision::SnapToCell(2.5f), 3.0f);
    EXPECT_EQ(LevelCollision::SnapToCell(-0.4f), 0.0f);
}

TEST(LevelCollision, GridFillsBoxAndClear) {
    LevelCollision g(4, 3);
    g.SetBox();
    EXPECT_EQ(Cells(g), (std::vector<int>{1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 1}));
    g.SetGrid(7);
    EXPECT_EQ(Cells(g), std::vector<int>(12, 7));
    g.SetValidFlag(true);
    g.PushUndoAction(OneCellEdit(g, 0, 0, 1));
    g.PushUndoAction(OneCellEdit(g, 1, 0, 1));
    g.Undo();
    ASSERT_EQ(g.UndoCount(), 1u);
    ASSERT_EQ(g.RedoCount(), 1u);
    g.ClearGrid();
    EXPECT_EQ(Cells(g), std::vector<int>(12, 0));
    EXPECT_FALSE(g.GetValidFlag());
    EXPECT_EQ(g.UndoCount(), 0u);
    EXPECT_EQ(g.RedoCount(), 0u);
}

TEST(LevelCollision, TileNeighbourMasks) {
    LevelCollision one(1, 1);
    one.SetCell(0, 1);
    EXPECT_EQ(one.TileNeighbor(0, 0, 1), 15);  // every neighbour lies outside

    // A row of three grass cells with empty cells all around them.
    LevelCollision row(5, 3);
    for (int x = 1; x <= 3; ++x) row.SetCell(static_cast<float>(x), 1.0f, LevelCellValue::GrassTile);
    EXPECT_EQ(row.GetTileGridCell(0), -1);  // nothing generated yet
    row.GenerateCompleteTileGrid();
    EXPECT_EQ(row.GetTileGridCell(1, 1), 2);
    EXPECT_EQ(row.GetTileGridCell(2, 1), 10);
    EXPECT_EQ(row.GetTileGridCell(3, 1), 8);
    // Empty cells get masks too: (2, 0) is in the bottom row (below continues)
    // with empty neighbours left and right and grass above.
    EXPECT_EQ(row.GetTileGridCell(2, 0), 2 + 4 + 8);
    EXPECT_EQ(row.GetTileGridCell(5, 0), row.GetTileGridCell(0, 1));  // a column past the width is the next row
    EXPECT_EQ(row.GetTileGridCell(15), -1);
    EXPECT_EQ(row.GetTileGridCell(-1), -1);

    // Grass on dirt: each takes the other as continuing terrain.
    LevelCollision blend(3, 4);
    blend.SetCell(1.0f, 2.0f, LevelCellValue::GrassTile);
    blend.SetCell(1.0f, 1.0f, LevelCellValue::DirtTile);
    blend.GenerateCompleteTileGrid();
    EXPECT_EQ(blend.GetTileGridCell(1, 2), 4);  // dirt below
    EXPECT_EQ(blend.GetTileGridCell(1, 1), 1);  // grass above
    EXPECT_EQ(blend.TileNeighbor(1, 2, LevelCellValue::GrassTile), 0);

    // Replacing the cells drops the tiles.
    blend.Resize(3, 5);
    EXPECT_EQ(blend.GetTileGridCell(1, 2), -1);
}

TEST(LevelCollision, Resize) {
    LevelCollision g(4, 4);
    for (int i = 0; i < 16; ++i) g.SetCell(i, i + 1);
    g.SetValidFlag(true);
    g.Resize(2, 6);
    ASSERT_EQ(g.GetWidth(), 2);
    ASSERT_EQ(g.GetHeight(), 6);
    EXPECT_EQ(Cells(g), (std::vector<int>{1, 2, 5, 6, 9, 10, 13, 14, 0, 0, 0, 0}));
    EXPECT_FALSE(g.GetValidFlag());

    // Sizes no level file can hold are refused.
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 5}, {1024, 5}, {5, 1 << 30}}) {
        g.Resize(w, h);
        EXPECT_EQ(g.GetWidth(), 2);
        EXPECT_EQ(g.GetHeight(), 6);
    }
    // The size setters resize, so the recorded size always matches the cells.
    g.SetWidth(3.7f);
    EXPECT_EQ(g.GetWidth(), 3);
    EXPECT_EQ(g.GetCell(2, 5), 0);
    g.SetHeight(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(g.GetHeight(), 6);

    LevelCollision none;
    none.Resize(3, 3);
    EXPECT_EQ(none.GetWidth(), 0);
}

TEST(LevelFile, SavesThe36BytesAndLoadsThemBack) {
    TempUserFolder folder;
    LevelCollision g = MakeSample();
    ASSERT_TRUE(g.Save("sample.lvl"));
    const std::vector<unsigned char> expected = {
        3, 0, 0, 0, 2,   0, 0, 0,                // width, height
        1, 0, 0, 0, 2,   0, 0, 0, 101, 0, 0, 0,  // row 0
        0, 0, 0, 0, 108, 0, 0, 0, 7,   0, 0, 0,  // row 1
        0, 0, 0, 0,                              // not tested
    };
    EXPECT_EQ(folder.Read("sample.lvl"), expected);
    EXPECT_EQ(folder.List(), std::vector<std::string>{"sample.lvl"});  // no temporary file left

    g.SetValidFlag(true);
    ASSERT_TRUE(g.Save("sample.lvl"));  // replaces the old file
    EXPECT_EQ(folder.Read("sample.lvl").back(), 0);
    EXPECT_EQ(folder.Read("sample.lvl")[32], 1);

    LevelCollision loaded;
    ASSERT_TRUE(loaded.Load("sample.lvl"));
    EXPECT_EQ(loaded.GetWidth(), 3);
    EXPECT_EQ(loaded.GetHeight(), 2);
    EXPECT_EQ(Cells(loaded), Cells(g));
    EXPECT_TRUE(loaded.GetValidFlag());
    EXPECT_EQ(loaded.GetStartPos(), D3DXVECTOR2(2, 0));

    // The largest level the format allows goes through as well.
    LevelCollision big(LevelCollision::kMaxSide, LevelCollision::kMaxSide);
    big.SetCell(LevelCollision::kMaxSide * LevelCollision::kMaxSide - 1, 108);
    ASSERT_TRUE(big.Save("big.lvl"));
    LevelCollision bigLoaded;
    ASSERT_TRUE(bigLoaded.Load("big.lvl"));
    EXPECT_EQ(bigLoaded.GetCell(LevelCollision::kMaxSide - 1, LevelCollision::kMaxSide - 1), 108);
}

TEST(LevelFile, RefusedNames) {
    TempUserFolder folder;
    LevelCollision g = MakeSample();
    for (const char* name : {".lvl", "", "../escape.lvl", "sub/dir.lvl", "..", "."}) {
        EXPECT_FALSE(g.Save(name)) << name;
        EXPECT_FALSE(g.Load(name)) << name;
    }
    EXPECT_TRUE(folder.List().empty());
    struct stat st {};
    EXPECT_NE(::stat((folder.root + "/escape.lvl").c_str(), &st), 0);
    EXPECT_FALSE(g.Load("missing.lvl"));

    LevelCollision empty;
    EXPECT_FALSE(empty.Save("empty.lvl"));  // a file Load would refuse is never written
    EXPECT_TRUE(folder.List().empty());
}

// Corrupt or hostile files answer false and leave everything of the grid as it was.
TEST(LevelFile, CorruptFilesLeaveTheGridUnchanged) {
    TempUserFolder folder;
    const std::vector<unsigned char> cells3x2 = Concat({U32(1), U32(2), U32(0), U32(0), U32(7), U32(0)});
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    const std::vector<Case> cases = {
        {"empty file", {}},
        {"4 bytes", U32(3)},
        {"8 bytes: header only", Concat({U32(3), U32(2)})},
        {"width 0", Concat({U32(0), U32(2), U32(0)})},
        {"height 0", Concat({U32(3), U32(0), U32(0)})},
        {"width 0x80000000", Concat({U32(0x80000000u), U32(2), cells3x2, U32(1)})},
        {"65536 x 65536", Concat({U32(65536), U32(65536), cells3x2, U32(1)})},
        {"width 1024", Concat({U32(1024), U32(1), cells3x2, U32(1)})},
        {"short cell block", Concat({U32(3), U32(2), U32(1), U32(2), U32(0)})},
        {"no flag", Concat({U32(3), U32(2), cells3x2})},
        {"trailing bytes", Concat({U32(3), U32(2), cells3x2, U32(1), U32(0)})},
        {"one trailing byte", Concat({U32(3), U32(2), cells3x2, U32(1), std::vector<unsigned char>{0}})},
    };

    LevelCollision g(2, 2);
    g.SetCell(0, 5);
    g.SetValidFlag(true);
    g.GenerateCompleteTileGrid();
    g.PushUndoAction(OneCellEdit(g, 1, 1, 3));
    g.SetValidFlag(true);
    const std::vector<int> cellsBefore = Cells(g);
    const int tileBefore = g.GetTileGridCell(0);
    ASSERT_NE(tileBefore, -1);

    for (const Case& c : cases) {
        folder.Write("bad.lvl", c.bytes);
        EXPECT_FALSE(g.Load("bad.lvl")) << c.name;
        EXPECT_EQ(g.GetWidth(), 2) << c.name;
        EXPECT_EQ(g.GetHeight(), 2) << c.name;
        EXPECT_EQ(Cells(g), cellsBefore) << c.name;
        EXPECT_TRUE(g.GetValidFlag()) << c.name;
        EXPECT_EQ(g.GetStartPos(), D3DXVECTOR2(1, 1)) << c.name;
        EXPECT_EQ(g.GetTileGridCell(0), tileBefore) << c.name;
        EXPECT_EQ(g.UndoCount(), 1u) << c.name;
    }

    // Nor is a folder of that name, a named pipe (never waited on) or a
    // device (never read).
    for (notafile::Kind kind : {notafile::Kind::Folder, notafile::Kind::NamedPipe, notafile::Kind::EndlessDevice}) {
        const std::string name = std::string("thing") + std::to_string(static_cast<int>(kind)) + ".lvl";
        ASSERT_TRUE(notafile::Place(kind, folder.levels + name));
        EXPECT_FALSE(g.Load(name)) << notafile::Name(kind);
        EXPECT_EQ(Cells(g), cellsBefore) << notafile::Name(kind);
    }
}

TEST(LevelFile, StartPositionIsTheLastStartCellInFileOrder) {
    TempUserFolder folder;
    LevelCollision two(4, 3);
    two.SetCell(1.0f, 0.0f, LevelCellValue::LevelStart);
    two.SetCell(2.0f, 2.0f, LevelCellValue::LevelStart);
    ASSERT_TRUE(two.Save("two.lvl"));
    LevelCollision none(4, 3);
    ASSERT_TRUE(none.Save("none.lvl"));

    LevelCollision g;
    ASSERT_TRUE(g.Load("two.lvl"));
    EXPECT_EQ(g.GetStartPos(), D3DXVECTOR2(2, 2));
    // A file without a start cell keeps the start position as it was.
    ASSERT_TRUE(g.Load("none.lvl"));
    EXPECT_EQ(g.GetStartPos(), D3DXVECTOR2(2, 2));
    // Built-in grids never move it.
    ASSERT_TRUE(g.SLoad(kFixtureGrid));
    EXPECT_EQ(g.GetStartPos(), D3DXVECTOR2(2, 2));
}

TEST(LevelFile, LoadReplacesTilesAndHistory) {
    TempUserFolder folder;
    ASSERT_TRUE(MakeSample().Save("sample.lvl"));
    LevelCollision g(5, 5);
    g.GenerateCompleteTileGrid();
    g.PushUndoAction(OneCellEdit(g, 4, 4, 1));
    g.Undo();
    g.PushUndoAction(OneCellEdit(g, 3, 3, 1));
    g.PushUndoAction(OneCellEdit(g, 2, 2, 1));
    g.Undo();
    ASSERT_EQ(g.UndoCount(), 1u);
    ASSERT_EQ(g.RedoCount(), 1u);
    ASSERT_TRUE(g.Load("sample.lvl"));
    EXPECT_EQ(g.GetTileGridCell(0), -1);
    EXPECT_EQ(g.UndoCount(), 0u);
    EXPECT_EQ(g.RedoCount(), 0u);
    // Nothing of the other level's history reaches this one.
    g.Undo();
    g.Redo();
    EXPECT_EQ(Cells(g), Cells(MakeSample()));
}

TEST(LevelFile, FailedSaveKeepsTheOldFile) {
    TempUserFolder folder;
    LevelCollision small = MakeSample();
    ASSERT_TRUE(small.Save("keep.lvl"));
    const std::vector<unsigned char> old = folder.Read("keep.lvl");
    ASSERT_EQ(old.size(), 36u);

    // A write that fails part-way (the file-size limit stands in for a full disk).
    LevelCollision bigger(10, 10);
    bigger.SetGrid(2);
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    bool saved100 = bigger.Save("keep.lvl");
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    ::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved100);
    EXPECT_EQ(folder.Read("keep.lvl"), old);
    EXPECT_EQ(folder.List(), std::vector<std::string>{"keep.lvl"});

    // A target that cannot be replaced.
    ASSERT_EQ(::mkdir((folder.levels + "taken.lvl").c_str(), 0755), 0);
    EXPECT_FALSE(small.Save("taken.lvl"));
    // A levels folder that is missing.
    TempUserFolder other;
    ASSERT_EQ(::rmdir(other.levels.c_str()), 0);
    EXPECT_FALSE(small.Save("x.lvl"));
    EXPECT_EQ(folder.List().size(), 2u);
}

TEST(LevelFile, BuiltInGridsFromResources) {
    LevelCollision g(2, 2);
    g.PushUndoAction(OneCellEdit(g, 0, 0, 1));
    ASSERT_TRUE(g.SLoad(kFixtureGrid));
    EXPECT_EQ(Cells(g), Cells(MakeSample()));
    EXPECT_TRUE(g.GetValidFlag());
    EXPECT_EQ(g.UndoCount(), 0u);

    // A damaged built-in grid is refused like a damaged file.
    EXPECT_FALSE(g.SLoad(kFixtureShort));
    EXPECT_EQ(Cells(g), Cells(MakeSample()));
    EXPECT_FALSE(g.SLoad(-1));
    EXPECT_FALSE(g.SLoad(65536 - LevelCollision::kFirstResource));

    // A missing grid is a failed load, never the end of the program: the
    // index may have come from another peer.
    FatalCapture capture;
    EXPECT_FALSE(g.SLoad(65001 - LevelCollision::kFirstResource));
    EXPECT_EQ(Cells(g), Cells(MakeSample()));
}

TEST(LevelFile, SaveCopyFileText) {
    TempUserFolder folder;
    LevelCollision g(2, 1);
    g.SetCell(0, 1);
    const std::string path = folder.root + "/grid.h";
    ASSERT_TRUE(g.SaveCopyFile(path));
    EXPECT_EQ(ReadText(path), "const int width = 2;\nconst int height = 1;\nint grid[2 * 1] = {1,0,};\n");

    ASSERT_TRUE(MakeSample().SaveCopyFile(path));
    EXPECT_EQ(ReadText(path), "const int width = 3;\nconst int height = 2;\nint grid[3 * 2] = {1,2,101,0,108,7,};\n");

    EXPECT_FALSE(g.SaveCopyFile(""));
    EXPECT_FALSE(g.SaveCopyFile(folder.root + "/no/such/folder/grid.h"));
}
