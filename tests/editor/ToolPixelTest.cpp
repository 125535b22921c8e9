// The tools' drawing through the real renderer with the baked sheets, read
// back as pixels: the box preview of a tile value and of an object value, the
// move tool's selection rectangle, and a lifted block dragged elsewhere with
// its marks, scrolled and zoomed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "editor/BoxTool.h"
#include "editor/EditorWorld.h"
#include "editor/MoveTool.h"
#include "support/PixelFrame.h"
#include "support/PngFile.h"
#include "support/SheetRenderWorld.h"

using namespace objtest;

namespace {

class ToolPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
        editortest::InstallEditorTypes();
        savedName = EditorLevelName;
        // 8 × 4 empty cells but a floor of grass in row 0.
        LevelCollision level(8, 4);
        for (int x = 0; x < 8; ++x) level.SetCell(static_cast<float>(x), 0.0f, 1);
        ASSERT_TRUE(level.Save("Tools.lvl"));
        EditorLevelName = "Tools";
        editor = NewState("LevelEditor");
        editor->Update();
        grid = ObjectData::Grid::Find(Named("EGrid"));
        ASSERT_NE(grid, nullptr);
        ASSERT_NE(grid->BoxTool, nullptr);
        ASSERT_NE(grid->MoveTool, nullptr);
    }
    void TearDown() override {
        SheetRenderWorld::TearDown();
        EditorLevelName = savedName;
    }

    using Rgb = testsupport::Rgb;
    testsupport::PixelFrame Frame() const { return {pixels, kWidth, kHeight}; }
    Rgb At(float x, float y) const { return Frame().At(x, y); }
    // Pixels about a point that differ plainly from the view's background
    // there (a wash over it counts, as a rim or a picture does).
    int Marked(float x, float y) const {
        int n = 0;
        for (float dy = -0.012f; dy <= 0.012f; dy += 0.003f)
            for (float dx = -0.012f; dx <= 0.012f; dx += 0.003f) {
                const Rgb c = At(x + dx, y + dy);
                n += Field(c) && c.r + c.g + c.b < 150 ? 0 : 1;
            }
        return n;
    }
    // Writes the frame to /tmp when GF_EDITOR_PICTURES is set, to look at.
    void Keep(const char* name) const {
        if (std::getenv("GF_EDITOR_PICTURES") == nullptr) return;
        const std::string path = std::string("/tmp/editor_") + name + ".png";
        testsupport::WritePng(path, kWidth, kHeight, 4, pixels.data());
    }
    static bool Field(const Rgb& c) { return c.b > c.r + 10 && c.b < 110 && c.r < 70; }

    Entity* Named(const char* name) const { return editor->GetLevel()->GetMyObject(name); }
    LevelData::LevelEditor::Variables& Vars() const { return *LevelData::LevelEditor::Find(editor->GetLevel()); }
    // The centre of grid cell (c, r) with the view scrolled by (sc, sr) cells.
    float CellX(int c, int sc = 0) const { return -0.35f + Vars().UnitScaleX * (static_cast<float>(c - sc) + 0.5f); }
    float CellY(int r, int sr = 0) const { return -0.25f + Vars().UnitScaleY * (static_cast<float>(r - sr) + 0.5f); }

    void Draw(Entity* tool) {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        Named("EGrid")->DoEvent("GraphicsDraw");
        tool->DoEvent("GraphicsDraw");
        EndFrame(buffer);
    }

    Object* camera = nullptr;
    State* editor = nullptr;
    ObjectData::Grid::Variables* grid = nullptr;
    TempUserFolder folder;
    std::string savedName;
};

TEST_F(ToolPixelTest, TheBoxPreviewShowsATileValueAndAnObjectValueOverItsCells) {
    auto& box = VariablesOf<ObjectData::BoxTool::Variables>(grid->BoxTool);
    for (int value : {1, 100}) {
        SCOPED_TRACE(value);
        box.boxCorner1 = {1.5f, 2.5f};
        box.boxCorner2 = {3.5f, 3.5f};  // columns 1 to 3, rows 2 and 3
        box.boxValue = value;
        Draw(grid->BoxTool);
        Keep(value == 1 ? "box_tile" : "box_object");
        for (int r = 2; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c) EXPECT_GT(Marked(CellX(c), CellY(r)), 40) << c << "," << r;
        for (auto [c, r] : {std::pair{0, 2}, {4, 3}, {2, 1}}) EXPECT_EQ(Marked(CellX(c), CellY(r)), 0) << c << "," << r;
    }
    // Erasing shows nothing; no open box shows nothing.
    box.boxValue = 0;
    Draw(grid->BoxTool);
    EXPECT_EQ(Marked(CellX(2), CellY(3)), 0);
    box.boxValue = 1;
    box.boxCorner1 = {-1.0f, -1.0f};
    Draw(grid->BoxTool);
    EXPECT_EQ(Marked(CellX(2), CellY(3)), 0);
}

TEST_F(ToolPixelTest, TheSelectionAndALiftedBlockAreMarkedScrolledAndZoomed) {
    auto& move = VariablesOf<ObjectData::MoveTool::Variables>(grid->MoveTool);
    move.boxCorner1 = {4.5f, 3.5f};
    move.boxCorner2 = {2.25f, 2.25f};  // columns 2 to 4, rows 2 and 3, far corner included
    Draw(grid->MoveTool);
    Keep("move_selection");
    for (int r = 2; r <= 3; ++r)
        for (int c = 2; c <= 4; ++c) EXPECT_GT(Marked(CellX(c), CellY(r)), 40) << c << "," << r;
    EXPECT_EQ(Marked(CellX(5), CellY(3)), 0);
    EXPECT_EQ(Marked(CellX(1), CellY(2)), 0);

    // A lifted block of grass and an empty cell, dragged to columns 5 and 6
    // of row 2, drawn at zoom 2 with the view scrolled one column.
    move.SelectingArea = false;
    move.boxCorner1 = move.boxCorner2 = {-1.0f, -1.0f};
    move.boxWidth = 2;
    move.boxHeight = 1;
    move.box = new std::int32_t[2]{1, 0};
    move.moveAction = new Action;
    move.boxPosition = {5.75f, 2.5f};
    // At zoom 2 the view shows 32 columns: a level 40 wide scrolls, a 20-wide one would not.
    grid->grid = LevelCollision(40, 20);
    Vars().GridWidth = 40;
    Vars().ZoomScale = 2;
    LevelData::LevelEditor::LayOutView(editor->GetLevel(), false);
    *FindVariable<float>(Named("GSliderH"), enum_value) = 1.0f;
    Draw(grid->MoveTool);
    Keep("move_block");
    EXPECT_GT(Marked(CellX(5, 1), CellY(2)), 40) << "the block's grass under its mark";
    EXPECT_GT(Marked(CellX(6, 1), CellY(2)), 40) << "an empty block cell shows its mark";
    EXPECT_EQ(Marked(CellX(7, 1), CellY(2)), 0);
    EXPECT_EQ(Marked(CellX(4, 1), CellY(2)), 0);
    EXPECT_EQ(Marked(CellX(5, 1), CellY(3)), 0);
    // The grass cell is drawn greener than the bare mark.
    const Rgb grass = At(CellX(5, 1), CellY(2)), bare = At(CellX(6, 1), CellY(2));
    EXPECT_NE(grass.g - grass.b, bare.g - bare.b);
}

// While a block is moved, its tiles show through the selection's mark:
// the lifted grass looks much as the grass left in the level does.
TEST_F(ToolPixelTest, TheTilesOfAMovedBlockShowThroughTheirMark) {
    auto& move = VariablesOf<ObjectData::MoveTool::Variables>(grid->MoveTool);
    move.SelectingArea = false;
    move.boxWidth = 3;
    move.boxHeight = 1;
    move.box = new std::int32_t[3]{1, 1, 1};
    move.moveAction = new Action;
    move.boxPosition = {2.0f, 2.0f};
    Draw(grid->MoveTool);
    Keep("move_through");
    // The middle of the block's middle cell against the middle of a grass
    // cell of the floor: the same picture, seen through the mark.
    const Rgb lifted = At(CellX(3), CellY(2)), resting = At(CellX(3), CellY(0));
    const int apart = std::abs(lifted.r - resting.r) + std::abs(lifted.g - resting.g) + std::abs(lifted.b - resting.b);
    EXPECT_LT(apart, 90) << "lifted " << int(lifted.r) << "," << int(lifted.g) << "," << int(lifted.b) << " resting "
                         << int(resting.r) << "," << int(resting.g) << "," << int(resting.b);
    EXPECT_GT(lifted.g, lifted.b) << "still green";
}

}  // namespace
