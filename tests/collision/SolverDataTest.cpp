#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "collision/SolverData.h"
#include "framework/LevelCollision.h"

namespace {

using Record = SolverData::Record;
const D3DXVECTOR3 kNoStart(-1.0f, -1.0f, 0.0f);

// A grid drawn top row first: '#' grass, 'D' dirt, '^' spikes up, '<' spikes
// left, 'B' breakable, '.' empty.
LevelCollision Draw(const std::vector<std::string>& rows) {
    int h = static_cast<int>(rows.size());
    int w = static_cast<int>(rows[0].size());
    LevelCollision g(w, h);
    for (int i = 0; i < h; ++i) {
        int y = h - 1 - i;
        for (int x = 0; x < w; ++x) {
            int v = 0;
            switch (rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(x)]) {
                case '#': v = LevelCellValue::GrassTile; break;
                case 'D': v = LevelCellValue::DirtTile; break;
                case '^': v = LevelCellValue::SpikesUp; break;
                case '<': v = LevelCellValue::SpikesLeft; break;
                case 'B': v = LevelCellValue::BreakableTile; break;
                default: v = LevelCellValue::NoCollision; break;
            }
            g.SetCell(static_cast<float>(x), static_cast<float>(y), v);
        }
    }
    return g;
}

int CountFlag(const SolverData& d, int flag) {
    return static_cast<int>(
        std::count_if(d.records.begin(), d.records.end(), [&](const Record& r) { return (r.flags & flag) != 0; }));
}

bool LinkedTo(const Record* a, const Record* b) {
    return std::find(a->links.begin(), a->links.end(), b) != a->links.end();
}

// A standing record of one cell, placed by hand.
Record* Stand(SolverData& d, float x, float y) {
    SolverAddWaypoint(&d, D3DXVECTOR3(x, y, 0), SolverData::kStanding);
    return d.At(static_cast<int>(x), static_cast<int>(y));
}

}  // namespace

TEST(Solver, CellClasses) {
    struct Row {
        int cell;
        bool stand, wallOnLeft, wallOnRight;
    };
    const Row rows[] = {
        {0, false, false, false}, {1, true, true, true},      {2, true, true, true},      {3, false, true, true},
        {4, true, true, false},   {5, true, true, true},      {6, true, false, true},     {7, true, true, true},
        {8, false, false, false}, {100, false, false, false}, {108, false, false, false}, {-1, false, false, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SolverCanStandOn(r.cell), r.stand) << r.cell;
        EXPECT_EQ(SolverCanWallOnLeft(r.cell), r.wallOnLeft) << r.cell;
        EXPECT_EQ(SolverCanWallOnRight(r.cell), r.wallOnRight) << r.cell;
    }
}

TEST(Solver, StandingRunsBecomeOneRecordEach) {
    LevelCollision g = Draw({
        "............",
        "............",
        "............",
        "###...####..",
    });
    SolverData d(&g);
    GetMacroData(&d, kNoStart);
    EXPECT_EQ(CountFlag(d, SolverData::kStanding), 2);
    Record* first = d.At(2, 1);
    Record* second = d.At(9, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->column, 2);
    EXPECT_EQ(first->left, 0.0f);
    EXPECT_EQ(first->right, 3.0f);
    EXPECT_EQ(first->bottom, 1.0f);
    EXPECT_EQ(first->top, 2.0f);
    EXPECT_EQ(second->column, 9);
    EXPECT_EQ(second->left, 6.0f);
    EXPECT_EQ(second->right, 10.0f);
    for (int x = 0; x <= 2; ++x) EXPECT_EQ(d.At(x, 1), first) << x;
    for (int x = 6; x <= 9; ++x) EXPECT_EQ(d.At(x, 1), second) << x;
    EXPECT_EQ(d.At(3, 1), nullptr);
    // Wall places beside the floor's ends.
    ASSERT_NE(d.At(3, 0), nullptr);
    EXPECT_EQ(d.At(3, 0)->flags, SolverData::kWallLeft);
    ASSERT_NE(d.At(5, 0), nullptr);
    EXPECT_EQ(d.At(5, 0)->flags, SolverData::kWallRight);
    EXPECT_EQ(d.records.size(), 5u);  // two runs and three wall places
}

TEST(Solver, SpikesLimitThePlaces) {
    LevelCollision g = Draw({
        "......",
        ".^..<.",
    });
    SolverData d(&g);
    GetMacroData(&d, kNoStart);
    EXPECT_EQ(d.At(1, 1), nullptr);  // nothing stands on upward spikes
    ASSERT_NE(d.At(4, 1), nullptr);  // left-pointing spikes can be stood on
    EXPECT_EQ(d.At(4, 1)->flags, SolverData::kStanding);
    EXPECT_EQ(d.At(3, 0), nullptr);  // but their left face cannot be clung to
    ASSERT_NE(d.At(5, 0), nullptr);
    EXPECT_EQ(d.At(5, 0)->flags, SolverData::kWallLeft);
    ASSERT_NE(d.At(0, 0), nullptr);
    EXPECT_EQ(d.At(0, 0)->flags, SolverData::kWallRight);
}

TEST(Solver, WaypointsAndTheStart) {
    LevelCollision g(10, 10);
    SolverData d(&g);
    GetMacroData(&d, D3DXVECTOR3(3.2f, 2.9f, 5.0f));
    ASSERT_EQ(d.records.size(), 1u);
    SolverAddWaypoint(&d, D3DXVECTOR3(3.7f, 2.2f, 0.0f), 16);
    ASSERT_EQ(d.records.size(), 1u);  // same cell: one record with both flag sets
    EXPECT_EQ(d.At(3, 2)->flags, SolverData::kWaypoint | 16);
    EXPECT_FLOAT_EQ(d.At(3, 2)->left, 2.7f);  // the start's extent, made first

    SolverData fresh(&g);
    SolverAddWaypoint(&fresh, D3DXVECTOR3(3.7f, 2.2f, 0.0f), 16);
    Record* r = fresh.At(3, 2);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->column, 3);
    EXPECT_EQ(r->row, 2);
    EXPECT_FLOAT_EQ(r->left, 3.2f);
    EXPECT_FLOAT_EQ(r->right, 4.2f);
    EXPECT_FLOAT_EQ(r->bottom, 1.7f);
    EXPECT_FLOAT_EQ(r->top, 2.7f);

    // Positions off the map are ignored, never truncated into it.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SolverData off(&g);
    for (D3DXVECTOR3 p :
         {D3DXVECTOR3(-0.5f, 1, 0), D3DXVECTOR3(1, -0.5f, 0), D3DXVECTOR3(200, 1, 0), D3DXVECTOR3(1, 200, 0),
          D3DXVECTOR3(nan, 1, 0), D3DXVECTOR3(1, nan, 0), D3DXVECTOR3(1e30f, 1e30f, 0), D3DXVECTOR3(-1e30f, 1, 0)}) {
        SolverAddWaypoint(&off, p, 8);
    }
    EXPECT_TRUE(off.records.empty());
    SolverAddWaypoint(&off, D3DXVECTOR3(199.9f, 199.9f, 0), 8);
    EXPECT_NE(off.At(199, 199), nullptr);
    SolverAddWaypoint(nullptr, D3DXVECTOR3(1, 1, 0), 8);
}

TEST(Solver, WideLevelsAreCutAtTheMapEdge) {
    LevelCollision g(250, 3);
    for (int x = 0; x < 250; ++x) g.SetCell(static_cast<float>(x), 0.0f, LevelCellValue::GrassTile);
    SolverData d(&g);
    GetMacroData(&d, kNoStart);
    for (const Record& r : d.records) EXPECT_LT(r.column, SolverData::kMapSide);
    EXPECT_EQ(CountFlag(d, SolverData::kStanding), 1);
    EXPECT_EQ(d.At(0, 1)->right, 200.0f);
    EXPECT_EQ(d.At(50, 2), nullptr);  // column 250 of row 1 does not land here
}

TEST(Solver, ClumpColoursFollowTheProcessCount) {
    EXPECT_EQ(SolverClumpColors[0], 0xFF0000FFu);
    SolverClumpCount = 0;  // as at the start of the process
    LevelCollision g(20, 5);
    SolverData d(&g);
    // Eight waypoints that cannot link (neither stands): eight clumps.
    for (int i = 0; i < 8; ++i) SolverAddWaypoint(&d, D3DXVECTOR3(2.0f * i + 0.5f, 1.5f, 0), 8);
    GenerateClumps(&d);
    ASSERT_EQ(d.clumps.size(), 8u);
    EXPECT_EQ(d.clumps.back().color, 0xFF0000FFu);   // the first made
    EXPECT_EQ(d.clumps.front().color, 0xFF0000FFu);  // the eighth
    EXPECT_EQ(std::next(d.clumps.begin())->color, 0xFFFFFFFFu);
    EXPECT_EQ(SolverClumpCount, 8);
    // The count goes on in the next call and the next data.
    SolverData other(&g);
    SolverAddWaypoint(&other, D3DXVECTOR3(0.5f, 0.5f, 0), 8);
    GenerateClumps(&other);
    EXPECT_EQ(other.clumps.front().color, SolverClumpColors[1]);
    for (const SolverData::Clump& c : d.clumps) ASSERT_EQ(c.members.size(), 1u);
}

// Two runs on row 1 (columns 0–2 and 6–8), gap 3, and blocks that may stand
// in the way: on row 1 only columns 3 and 4 are read, above that columns 2 to
// 5 of rows 2 to 4.
TEST(Solver, FloorLinksAndBlocksInTheWay) {
    struct Block {
        int x, y;
        bool linked;
    };
    const Block blocks[] = {
        {-1, -1, true}, {3, 1, false}, {4, 1, false}, {5, 1, true}, {2, 2, false}, {5, 2, false},
        {3, 3, false},  {4, 4, false}, {5, 4, false}, {6, 2, true}, {3, 5, true},  {1, 2, true},
    };
    for (const Block& b : blocks) {
        LevelCollision g = Draw({
            "............",
            "............",
            "............",
            "............",
            "............",
            "###...###...",
        });
        if (b.x >= 0) g.SetCell(static_cast<float>(b.x), static_cast<float>(b.y), LevelCellValue::DirtTile);
        SolverData d(&g);
        GetMacroData(&d, kNoStart);
        GenerateClumps(&d);
        Record* left = d.At(0, 1);
        Record* right = d.At(8, 1);
        ASSERT_NE(left, nullptr);
        ASSERT_NE(right, nullptr);
        ASSERT_NE(left, right);
        EXPECT_EQ(LinkedTo(left, right), b.linked) << "block at " << b.x << ", " << b.y;
        EXPECT_EQ(LinkedTo(right, left), b.linked) << "block at " << b.x << ", " << b.y;
        if (b.x < 0) {
            EXPECT_EQ(left->clump, right->clump);
        }
        // Every record belongs to exactly one clump, and clumps hold their members.
        std::size_t members = 0;
        for (const SolverData::Clump& c : d.clumps) {
            members += c.members.size();
            for (const Record* m : c.members) EXPECT_EQ(m->clump, &c);
        }
        EXPECT_EQ(members, d.records.size());
    }
}

TEST(Solver, ARecordLinkingTwoClumpsJoinsTheNewerOne) {
    LevelCollision g(30, 10);
    SolverData d(&g);
    Record* a = Stand(d, 0.5f, 1.5f);
    Record* b = Stand(d, 20.5f, 1.5f);  // too far from a (gap 19)
    Record* c = Stand(d, 10.5f, 1.5f);  // gap 9 to both
    GenerateClumps(&d);
    ASSERT_EQ(d.clumps.size(), 1u);
    const SolverData::Clump& only = d.clumps.front();
    EXPECT_EQ(only.members, (std::vector<Record*>{b, c, a}));
    EXPECT_EQ(only.color, SolverClumpColors[(SolverClumpCount - 1) % 7]);  // b's clump, the newer
    EXPECT_EQ(c->links, (std::vector<Record*>{b, a}));
    EXPECT_EQ(a->links, std::vector<Record*>{c});
    EXPECT_FALSE(LinkedTo(a, b));

    // A second call gives the same grouping, without doubled links.
    GenerateClumps(&d);
    ASSERT_EQ(d.clumps.size(), 1u);
    EXPECT_EQ(d.clumps.front().members, (std::vector<Record*>{b, c, a}));
    EXPECT_EQ(c->links.size(), 2u);

    // Rebuilding the map drops the clumps with the records they held.
    GetMacroData(&d, kNoStart);
    EXPECT_TRUE(d.clumps.empty());
}

TEST(Solver, PlacesThatDoNotStandAreReachedOnlyFromBelow) {
    struct Case {
        D3DXVECTOR3 place;
        bool linked;
    };
    // The standing place covers column 5 of row 1.
    const Case cases[] = {
        {{7.5f, 1.5f, 0}, false},   // same row
        {{3.5f, 0.5f, 0}, false},   // below
        {{9.5f, 2.5f, 0}, true},    // one row up, gap 3
        {{10.5f, 2.5f, 0}, false},  // one row up, gap 4
        {{1.5f, 2.5f, 0}, true},    // one row up on the left, gap 3
        {{10.5f, 3.5f, 0}, true},   // two rows up, gap 4
        {{11.5f, 3.5f, 0}, false},  // two rows up, gap 5
        {{5.5f, 4.5f, 0}, false},   // three rows up
    };
    for (const Case& c : cases) {
        LevelCollision g(20, 10);
        SolverData d(&g);
        Record* s = Stand(d, 5.5f, 1.5f);
        SolverAddWaypoint(&d, c.place, SolverData::kWaypoint);
        Record* w = d.At(static_cast<int>(c.place.x), static_cast<int>(c.place.y));
        ASSERT_NE(w, nullptr);
        GenerateClumps(&d);
        EXPECT_EQ(LinkedTo(s, w), c.linked) << c.place.x << ", " << c.place.y;
        EXPECT_EQ(s->clump == w->clump, c.linked) << c.place.x << ", " << c.place.y;
    }

    // A wall in the way of a reachable place breaks the link.
    LevelCollision g(20, 10);
    g.SetCell(7.0f, 2.0f, LevelCellValue::GrassTile);
    SolverData d(&g);
    Record* s = Stand(d, 5.5f, 1.5f);
    SolverAddWaypoint(&d, D3DXVECTOR3(9.5f, 2.5f, 0), SolverData::kWaypoint);
    GenerateClumps(&d);
    EXPECT_FALSE(LinkedTo(s, d.At(9, 2)));

    // Two places of which neither stands never link.
    SolverData pair(&g);
    SolverAddWaypoint(&pair, D3DXVECTOR3(1.5f, 1.5f, 0), 8);
    SolverAddWaypoint(&pair, D3DXVECTOR3(2.5f, 1.5f, 0), 8);
    GenerateClumps(&pair);
    EXPECT_EQ(pair.clumps.size(), 2u);
}

TEST(Solver, StandingPlacesTwoRowsApart) {
    // A single cell straight above another, its floor block between them.
    LevelCollision g = Draw({
        ".......",
        ".......",
        "...#...",
        ".......",
        "...#...",
    });
    SolverData d(&g);
    GetMacroData(&d, kNoStart);
    GenerateClumps(&d);
    ASSERT_NE(d.At(3, 1), nullptr);
    ASSERT_NE(d.At(3, 3), nullptr);
    EXPECT_TRUE(LinkedTo(d.At(3, 1), d.At(3, 3)));

    // Runs two rows apart overlapping by one cell link; by two cells they do not.
    struct Case {
        std::vector<std::string> rows;
        bool linked;
    };
    const Case cases[] = {
        {{"........", "........", "...####.", "........", "####...."}, true},
        {{"........", "........", "..####..", "........", "####...."}, false},
    };
    for (const Case& c : cases) {
        LevelCollision grid = Draw(c.rows);
        SolverData runs(&grid);
        GetMacroData(&runs, kNoStart);
        GenerateClumps(&runs);
        Record* lower = runs.At(0, 1);
        Record* upper = runs.At(4, 3);
        ASSERT_NE(lower, nullptr);
        ASSERT_NE(upper, nullptr);
        EXPECT_EQ(lower->column, 3);
        EXPECT_EQ(LinkedTo(lower, upper), c.linked);
    }
}
