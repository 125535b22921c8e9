// The editor drawn through the real renderer with the baked sheets, read
// back as pixels: the grid view of a small fixture level at zoom 1 and 4 and
// scrolled, with the strips beyond the level; the valid marks; the
// palette's two tabs; and a tool selector idle, hovered and pressed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/EditorWorld.h"
#include "objects/SheetRenderWorld.h"
#include "support/PixelFrame.h"
#include "widgets/Button.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

using namespace objtest;

namespace {

class EditorPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        scale = 1.0f;
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
        editortest::InstallEditorTypes();
        savedName = EditorLevelName;

        // The fixture: 6 by 4 cells, a floor of grass, a firefly, a spring,
        // a broken tile and a code past the picture table in the rows above.
        LevelCollision level(6, 4);
        for (int x = 0; x < 6; ++x) level.SetCell(static_cast<float>(x), 0.0f, 1);
        level.SetCell(1.0f, 1.0f, 101);
        level.SetCell(2.0f, 1.0f, 100);
        level.SetCell(4.0f, 1.0f, 104);
        level.SetCell(1.0f, 2.0f, 8);
        level.SetCell(3.0f, 2.0f, 250);
        ASSERT_TRUE(level.Save("Fix.lvl"));
        EditorLevelName = "Fix";
        editor = NewState("LevelEditor");
        editor->Update();
        ASSERT_NE(LevelData::LevelEditor::Find(editor->GetLevel()), nullptr);
    }
    void TearDown() override {
        SheetRenderWorld::TearDown();
        EditorLevelName = savedName;
    }

    using Rgb = testsupport::Rgb;
    testsupport::PixelFrame Frame() const { return {pixels, kWidth, kHeight}; }
    Rgb At(float x, float y) const { return Frame().At(x, y); }
    // Writes the frame to /tmp when GF_EDITOR_PICTURES is set, to look at.
    void Keep(const char* name) const {
        if (std::getenv("GF_EDITOR_PICTURES") == nullptr) return;
        const std::string path = std::string("/tmp/editor_") + name + ".png";
        stbi_write_png(path.c_str(), kWidth, kHeight, 4, pixels.data(), kWidth * 4);
    }

    Entity* Named(const char* name) const { return editor->GetLevel()->GetMyObject(name); }
    LevelData::LevelEditor::Variables& Vars() const { return *LevelData::LevelEditor::Find(editor->GetLevel()); }

    // Draws the named objects of the editor into one frame.
    void Draw(std::initializer_list<const char*> names) {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        for (const char* name : names) Named(name)->DoEvent("GraphicsDraw");
        EndFrame(buffer);
    }

    // The centre of view cell (c, r) at the editor's current cell size.
    float CellX(int c) const { return -0.35f + Vars().UnitScaleX * (static_cast<float>(c) + 0.5f); }
    float CellY(int r) const { return -0.25f + Vars().UnitScaleY * (static_cast<float>(r) + 0.5f); }

    // The view's own background: dark night blue.
    static bool Field(const Rgb& c) { return c.b > c.r + 10 && c.b < 110 && c.r < 70; }
    // The strip beyond the level: a grey-violet shade, lighter than the field.
    static bool Strip(const Rgb& c) { return c.r > 55 && c.g > 55 && c.b > 70 && c.b - c.r < 40 && c.r < 140; }
    static bool Bright(const Rgb& c) { return c.r + c.g + c.b > 450; }

    Object* camera = nullptr;
    State* editor = nullptr;
    TempUserFolder folder;
    std::string savedName;
};

TEST_F(EditorPixelTest, TheViewShowsTheLevelWithStripsRightOfAndAboveIt) {
    Draw({"EGrid"});
    Keep("zoom1");
    // Inside the level's empty cells: the view's background.
    EXPECT_TRUE(Field(At(CellX(0), CellY(3)))) << "empty cell";
    // Right of the level and above it: the "nothing" strips.
    for (const auto& [c, r] : {std::pair{6, 0}, {12, 2}, {15, 3}, {0, 4}, {8, 8}, {15, 8}})
        EXPECT_TRUE(Strip(At(CellX(c), CellY(r)))) << c << ", " << r;
    // The floor of grass tiles, the level start, the firefly: not the field.
    for (const auto& [c, r] : {std::pair{0, 0}, {3, 0}, {5, 0}, {1, 1}, {2, 1}, {4, 1}, {1, 2}, {3, 2}}) {
        const float x = CellX(c), y = CellY(r);
        EXPECT_GT(Frame().Count(x - 0.02f, y + 0.02f, x + 0.02f, y - 0.02f,
                        [](const Rgb& p) { return !Field(p) && !Strip(p); }),
                  40)
            << c << ", " << r;
    }
    // Beside the view nothing is drawn.
    EXPECT_LT(Frame().Count(-0.5f, 0.4f, -0.38f, -0.2f, [](const Rgb& p) { return p.r + p.g + p.b > 30; }), 5);
}

TEST_F(EditorPixelTest, TilesGoToTheirTileListsAndObjectsAreQuads) {
    Buffer* buffer = BeginFrame(camera);
    ASSERT_NE(buffer, nullptr);
    Named("EGrid")->DoEvent("GraphicsDraw");
    EXPECT_EQ(buffer->tiles[7].size(), 6u) << "grass floor";
    EXPECT_EQ(buffer->tiles[6].size(), 1u) << "spring";
    // General list: start, firefly, broken tile, the unlisted code, the
    // strips (rows 0 to 3 right of the level, rows 4 to 8 whole) and the mark.
    EXPECT_EQ(buffer->frames.size(), 4u + 4u + 5u + 1u);
    EXPECT_EQ(buffer->tileTechnique[7], "TechniqueTileGroup2D");
    EXPECT_EQ(buffer->tileTechnique[3], "TechniqueTileGroup2DDepth");
    EXPECT_NE(buffer->tileTexture[7], nullptr);
    EXPECT_EQ(buffer->layerColor[0], 0xFFFFFFu);
    EXPECT_EQ(buffer->backgrounds.size(), 1u);
    EndFrame(buffer);
}

TEST_F(EditorPixelTest, ZoomFourShowsFourTimesTheCellsAndScrollingMovesTheLevel) {
    Vars().ZoomScale = 4;
    LevelData::LevelEditor::LayOutView(editor->GetLevel(), false);
    Draw({"EGrid"});
    Keep("zoom4");
    EXPECT_FALSE(Field(At(CellX(2), CellY(0))) || Strip(At(CellX(2), CellY(0)))) << "grass at zoom 4";
    EXPECT_TRUE(Field(At(CellX(0), CellY(3))));

    // Scrolled two columns right: the floor now ends four cells in.
    Vars().ZoomScale = 1;
    LevelData::LevelEditor::LayOutView(editor->GetLevel(), false);
    // As a bar over a level wider than the view: two columns scrolled.
    *FindVariable<float>(Named("GSliderH"), enum_max) = 4.0f;
    *FindVariable<std::int32_t>(Named("GSliderH"), enum_ticks) = 5;
    *FindVariable<float>(Named("GSliderH"), enum_value) = 2.0f;
    Draw({"EGrid"});
    Keep("scrolled");
    EXPECT_FALSE(Strip(At(CellX(3), CellY(0))));
    EXPECT_TRUE(Strip(At(CellX(4), CellY(0))));
}

TEST_F(EditorPixelTest, TheValidMarkShowsWhetherTheLevelWasPlayedThrough) {
    auto green = [](const Rgb& p) { return p.g > p.r + 40 && p.g > p.b; };
    auto amber = [](const Rgb& p) { return p.r > p.b + 60 && p.g > p.b; };
    Draw({"EGrid"});
    EXPECT_GT(Frame().Count(-0.35f, -0.3f, -0.21f, -0.46f, amber), 100) << "not tested";
    EXPECT_LT(Frame().Count(-0.35f, -0.3f, -0.21f, -0.46f, green), 10);
    ObjectData::Grid::Find(Named("EGrid"))->grid.SetValidFlag(true);
    Draw({"EGrid"});
    EXPECT_GT(Frame().Count(-0.35f, -0.3f, -0.21f, -0.46f, green), 100) << "completed";
    EXPECT_LT(Frame().Count(-0.35f, -0.3f, -0.21f, -0.46f, amber), 10);
}

TEST_F(EditorPixelTest, ThePaletteShowsEachTabsEntriesOnItsPanel) {
    auto& palette = *ObjectData::LevelEditorObjectList::Find(Named("EObjList"));
    const float x1 = -0.6f, yTop = 0.12f, yRow4 = -0.08f;
    Draw({"EObjList"});
    Keep("tiles");
    const Rgb panelTiles = At(-0.71f, 0.17f);
    EXPECT_GT(panelTiles.r, 150) << "the tiles panel is light";
    EXPECT_GT(Frame().Count(x1 - 0.02f, yTop + 0.02f, x1 + 0.02f, yTop - 0.02f, [&](const Rgb& p) {
                  return std::abs(p.r - panelTiles.r) + std::abs(p.g - panelTiles.g) + std::abs(p.b - panelTiles.b) > 60;
              }),
              20)
        << "no spikes at the top of the tiles tab";

    palette.SelectedTab = 1;
    Draw({"EObjList"});
    Keep("objects");
    const Rgb panelObjects = At(-0.71f, 0.17f);
    EXPECT_LT(panelObjects.r, 110) << "the objects panel is dark";
    // The moon shard in row 4 and the level start at the top left are drawn.
    auto differs = [&](const Rgb& p) {
        return std::abs(p.r - panelObjects.r) + std::abs(p.g - panelObjects.g) + std::abs(p.b - panelObjects.b) > 60;
    };
    EXPECT_GT(Frame().Count(x1 - 0.02f, yRow4 + 0.02f, x1 + 0.02f, yRow4 - 0.02f, differs), 20) << "moon shard";
    EXPECT_GT(Frame().Count(-0.70f, yTop + 0.02f, -0.66f, yTop - 0.02f, differs), 20) << "level start";
}

TEST_F(EditorPixelTest, AToolSelectorIsDrawnIdleHoveredAndPressed) {
    Entity* box = Named("EBoxTool");  // at (-0.47, -0.3), 0.1 across
    auto& b = VariablesOf<ObjectData::Button::Variables>(box);
    Vars().ToolCursor = 0;
    Draw({"EBoxTool"});
    Keep("idle");
    const Rgb idleEdge = At(-0.47f, -0.3f + 0.045f);
    const bool idleOutside = Bright(At(-0.47f + 0.053f, -0.3f)) || At(-0.47f + 0.053f, -0.3f).b > 40;
    EXPECT_GT(idleEdge.b, idleEdge.r) << "night-blue plate";
    EXPECT_FALSE(idleOutside) << "the idle plate stays inside its square";

    b.hover = true;
    Draw({"EBoxTool"});
    Keep("hover");
    EXPECT_GT(At(-0.47f + 0.053f, -0.3f).b, 40) << "the hovered plate is larger";

    b.hover = false;
    Vars().ToolCursor = 1;
    Draw({"EBoxTool"});
    Keep("pressed");
    const Rgb rim = At(-0.47f, -0.3f + 0.047f);
    EXPECT_GT(rim.r, rim.b) << "the pressed plate has its warm rim";
    // The tool's picture stays over the plate in every state.
    EXPECT_GT(Frame().Count(-0.5f, -0.27f, -0.44f, -0.33f, Bright), 10);
}

}  // namespace
