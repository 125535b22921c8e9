// Every built-in level embedded in the program is a well-formed level file
// whose grid a player can actually start in and cannot leave sideways.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/LevelCollision.h"
#include "framework/Resources.h"

namespace {

struct BuiltIn {
    const char* name;
    int width;
    int height;
};

// Play order: resource 4000 + n holds level n.
const BuiltIn kLevels[] = {
    {"GrassLevel01", 100, 25}, {"GrassLevel02", 128, 32}, {"GrassLevel03", 80, 65},   {"GrassLevel04", 200, 20},
    {"GrassLevel05", 200, 20}, {"GrassLevel06", 35, 100}, {"GrassLevel07", 130, 29},  {"GrassLevel08", 64, 64},
    {"MudLevel01", 200, 27},   {"MudLevel02", 40, 100},   {"SpeedyLevel01", 200, 18}, {"SpeedyLevel02", 55, 55},
    {"SpeedyLevel3", 32, 200},
};

// The cell codes, under short names.
enum Cell : int32_t {
    Empty = LevelCellValue::NoCollision,
    Grass = LevelCellValue::GrassTile,
    Dirt = LevelCellValue::DirtTile,
    Broken = LevelCellValue::BrokenTile,
    Start = LevelCellValue::LevelStart,
    Goal = LevelCellValue::LevelGoal,
    Checkpoint = LevelCellValue::Checkpoint,
    Spring = LevelCellValue::Spring,
    SpringRight = LevelCellValue::SpringRight,
    SpringLeft = LevelCellValue::SpringLeft,
};

uint32_t ReadValue(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

class Level {
public:
    Level(int w, int h, std::vector<int32_t> c) : width(w), height(h), cells(std::move(c)) {}
    // -1 outside the grid, as the game reads it.
    int32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return -1;
        return cells[static_cast<size_t>(y) * width + x];
    }
    bool Ground(int x, int y) const {
        int32_t v = At(x, y);
        return v == Grass || v == Dirt;
    }
    // Solid ground a short fall below (x, y), with nothing solid in between.
    bool GroundWithin(int x, int y, int rows) const {
        for (int k = 1; k <= rows; ++k) {
            if (Ground(x, y - k)) return true;
            int32_t v = At(x, y - k);
            if (v < 0 || (v >= Grass && v < Broken)) return false;
        }
        return false;
    }
    // The level as it is drawn in its source file, for failure messages.
    std::string Around(int cx, int cy) const {
        static const char* chars = ".#%^>v<Bx";
        std::ostringstream s;
        for (int y = cy + 3; y >= cy - 4; --y) {
            for (int x = cx - 6; x <= cx + 6; ++x) {
                int32_t v = At(x, y);
                char c = v < 0 ? ' ' : v <= 8 ? chars[v] : v == Start ? 'S' : v == Goal ? 'G' : 'o';
                s << (x == cx && y == cy ? '@' : c);
            }
            s << '\n';
        }
        return s.str();
    }
    int width, height;
    std::vector<int32_t> cells;
};

class BuiltInLevels : public ::testing::TestWithParam<int> {
protected:
    // Reads resource 4000 + n as the game does, checking the file layout on the way.
    Level Load() {
        const BuiltIn& b = kLevels[GetParam()];
        unsigned long size = 0;
        const void* data = LoadInternalResource(static_cast<unsigned short>(4000 + GetParam()), &size);
        const auto* p = static_cast<const unsigned char*>(data);
        const size_t expected = 12 + 4 * static_cast<size_t>(b.width) * b.height;
        EXPECT_EQ(size, expected) << b.name;
        std::vector<int32_t> cells;
        if (size == expected) {
            EXPECT_EQ(ReadValue(p), uint32_t(b.width)) << b.name;
            EXPECT_EQ(ReadValue(p + 4), uint32_t(b.height)) << b.name;
            EXPECT_EQ(ReadValue(p + size - 4), 1u) << b.name << ": the built-in levels ship as finished";
            for (size_t i = 0; i < size_t(b.width) * b.height; ++i)
                cells.push_back(static_cast<int32_t>(ReadValue(p + 8 + 4 * i)));
        }
        FreeInternalResource(data);
        return Level(b.width, b.height, std::move(cells));
    }
};

TEST_P(BuiltInLevels, FileHasTheListedSizeFlagAndOnlyKnownCells) {
    Level level = Load();
    ASSERT_FALSE(HasFailure());
    const std::set<int32_t> known = {0, 1, 2, 3, 4, 5, 6, 7, 8, 100, 101, 102, 103, 104, 105, 106, 107, 108};
    int starts = 0, goals = 0;
    for (size_t i = 0; i < level.cells.size(); ++i) {
        int32_t v = level.cells[i];
        EXPECT_TRUE(known.count(v)) << "unknown cell " << v << " at column " << i % level.width << ", row "
                                    << i / level.width;
        starts += v == Start;
        goals += v == Goal;
    }
    EXPECT_EQ(starts, 1);
    EXPECT_GE(goals, 1);
}

// The game's own loader takes every grid as it is, cell for cell.
TEST_P(BuiltInLevels, GameLoadsTheSameGrid) {
    Level level = Load();
    ASSERT_FALSE(HasFailure());
    LevelCollision grid;
    ASSERT_TRUE(grid.SLoad(GetParam()));
    ASSERT_EQ(grid.GetWidth(), level.width);
    ASSERT_EQ(grid.GetHeight(), level.height);
    EXPECT_TRUE(grid.GetValidFlag());
    EXPECT_TRUE(std::equal(level.cells.begin(), level.cells.end(), grid.GetGridPtr()));
}

TEST_P(BuiltInLevels, PlayerCannotLeaveSidewaysOrThroughTheRoof) {
    Level level = Load();
    ASSERT_FALSE(HasFailure());
    for (int y = 0; y < level.height; ++y) {
        EXPECT_TRUE(level.Ground(0, y)) << "left wall open at row " << y;
        EXPECT_TRUE(level.Ground(level.width - 1, y)) << "right wall open at row " << y;
    }
    for (int x = 0; x < level.width; ++x) EXPECT_TRUE(level.Ground(x, level.height - 1)) << "roof open at column " << x;
}

// The start, the goals and the checkpoints stand on ground (a checkpoint is
// where the player comes back to life, so it must not hang over a pit);
// springs and side springs sit right on it, where the player can land on them.
TEST_P(BuiltInLevels, ObjectsStandOnGround) {
    Level level = Load();
    ASSERT_FALSE(HasFailure());
    for (int y = 0; y < level.height; ++y) {
        for (int x = 0; x < level.width; ++x) {
            int32_t v = level.At(x, y);
            if (v == Start || v == Goal || v == Checkpoint) {
                EXPECT_TRUE(level.GroundWithin(x, y, 2))
                    << "cell " << v << " at column " << x << ", row " << y << " has no ground below\n"
                    << level.Around(x, y);
            } else if (v == Spring || v == SpringRight || v == SpringLeft) {
                EXPECT_TRUE(level.Ground(x, y - 1)) << "spring at column " << x << ", row " << y << " floats\n"
                                                    << level.Around(x, y);
                EXPECT_EQ(level.At(x, y + 1), Empty)
                    << "spring at column " << x << ", row " << y << " has no room above\n"
                    << level.Around(x, y);
            }
        }
    }
}

std::string LevelName(const ::testing::TestParamInfo<int>& info) { return kLevels[info.param].name; }

INSTANTIATE_TEST_SUITE_P(All, BuiltInLevels, ::testing::Range(0, 13), LevelName);

}  // namespace
