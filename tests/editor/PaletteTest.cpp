// The editor's palette: its two tab layouts, smaller palettes, and picking
// with the pointer through the input layer.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "editor/EditorWorld.h"

using namespace editortest;
using ObjectData::LevelEditorObjectList::Variables;

namespace {

using PaletteTest = EditorWorld;

// (tab, row, column) → value; every other cell of a layout is -1.
using Layout = std::map<std::tuple<int, int, int>, int>;

void ExpectLayout(const Variables& p, const Layout& expected) {
    for (int tab = 0; tab < ObjectData::LevelEditorObjectList::kTabs; ++tab) {
        const LevelCollision& grid = p.ObjectListGrid[tab];
        EXPECT_EQ(grid.GetWidth(), p.ObjGridWidth);
        EXPECT_EQ(grid.GetHeight(), p.ObjGridHeight);
        for (int row = 0; row < grid.GetHeight(); ++row)
            for (int column = 0; column < grid.GetWidth(); ++column) {
                const auto found = expected.find({tab, row, column});
                EXPECT_EQ(grid.GetCell(column, row), found == expected.end() ? -1 : found->second)
                    << "tab " << tab << " row " << row << " column " << column;
            }
    }
}

TEST_F(PaletteTest, TheDefaultPaletteLaysOutBothTabsInThreeColumnsAndNineRows) {
    OpenEditor();
    const Layout expected = {
        {{0, 8, 1}, 3},   {{0, 7, 0}, 6},   {{0, 7, 2}, 4},   {{0, 6, 1}, 5},   {{0, 4, 0}, 1},   {{0, 4, 1}, 7},
        {{0, 4, 2}, 2},   {{1, 8, 0}, 101}, {{1, 8, 1}, 103}, {{1, 8, 2}, 102}, {{1, 6, 0}, 106}, {{1, 6, 1}, 104},
        {{1, 6, 2}, 105}, {{1, 4, 0}, 107}, {{1, 4, 1}, 108}, {{1, 4, 2}, 100},
    };
    ExpectLayout(Palette(), expected);
    EXPECT_FLOAT_EQ(Palette().ObjectScaleX, 0.25f / 3.0f);
    EXPECT_FLOAT_EQ(Palette().ObjectScaleY, 0.45f / 9.0f);
}

TEST_F(PaletteTest, ASmallerPaletteDropsTheEntriesThatDoNotFit) {
    OpenEditor();
    Variables& prototype = VariablesOf<Variables>(Object::_FindPrototype("LevelEditorObjectList"));
    struct Case {
        int width, height;
        Layout expected;
    };
    const Case cases[] = {
        {2,
         4,
         {{{0, 3, 0}, 3},
          {{0, 2, 0}, 4},
          {{0, 1, 0}, 6},
          {{1, 3, 1}, 102},
          {{1, 3, 0}, 103},
          {{1, 2, 1}, 101},
          {{1, 0, 1}, 105}}},
        {1, 2, {{{1, 1, 0}, 102}}},
        {0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        prototype.ObjGridWidth = c.width;
        prototype.ObjGridHeight = c.height;
        Object* palette = Object::MakeCopy(editor, "LevelEditorObjectList", "");
        ASSERT_NE(palette, nullptr);
        ExpectLayout(VariablesOf<Variables>(palette), c.expected);
    }
    prototype.ObjGridWidth = 3;
    prototype.ObjGridHeight = 9;
}

TEST_F(PaletteTest, ClicksPickEntriesAndOnlyEntries) {
    OpenEditor();
    EXPECT_EQ(Vars().SelectedValue, 1);
    // Tab buttons switch the tab and pick nothing.
    EXPECT_EQ(Label("ObjectText"), "Grass Tile");
    Click(-0.5f, 0.205f);
    EXPECT_EQ(Palette().SelectedTab, 1);
    EXPECT_EQ(Vars().SelectedValue, 1);
    // The label names what the tab shown has chosen: nothing of the objects yet.
    EXPECT_EQ(Label("ObjectText"), "");
    Click(-0.6f, 0.02f);  // the spring
    EXPECT_EQ(Vars().SelectedValue, 104);
    EXPECT_EQ(Label("ObjectText"), "Spring");
    Click(-0.6833f, -0.03f);  // an empty cell (row 5)
    EXPECT_EQ(Vars().SelectedValue, 104);
    Click(-0.675f, 0.205f);
    EXPECT_EQ(Palette().SelectedTab, 0);
    EXPECT_EQ(Vars().SelectedValue, 104);
    EXPECT_EQ(Label("ObjectText"), "");

    // The palette's edges: its corners inside the area, and just outside it.
    const struct {
        float x, y;
        int expected;
    } picks[] = {
        {-0.6f, 0.14f, 3},    // top row, middle column
        {-0.48f, 0.07f, 4},   // right edge, row 7
        {-0.72f, 0.07f, 6},   // left edge, row 7
        {-0.72f, -0.30f, 6},  // the empty bottom-left cell leaves the value
        {-0.47f, 0.07f, 6},   // beside the area: nothing
        {-0.6f, 0.16f, 6},    // above the area: nothing
        {-0.48f, -0.08f, 2},  // row 4, right column
    };
    for (const auto& p : picks) {
        Click(p.x, p.y);
        EXPECT_EQ(Vars().SelectedValue, p.expected) << p.x << ", " << p.y;
    }
    EXPECT_EQ(Label("ObjectText"), "Dirt Tile");
}

}  // namespace
