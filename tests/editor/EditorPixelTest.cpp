// The editor drawn through the real renderer with the baked sheets, read
// back as pixels: the grid view of a small fixture level at zoom 1 and 4 and
// scrolled, with the strips beyond the level; the valid marks; the
// palette's two tabs; and a tool selector idle, hovered and pressed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "editor/EditorWorld.h"
#include "support/PixelFrame.h"
#include "support/PngFile.h"
#include "support/SheetRenderWorld.h"
#include "widgets/Button.h"

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
        testsupport::WritePng(path, kWidth, kHeight, 4, pixels.data());
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
    // The strip beyond the level: a plain dark grey, unlike the field's blue.
    static bool Strip(const Rgb& c) {
        return c.r >= 25 && c.r <= 60 && std::abs(c.g - c.r) < 8 && c.b >= c.r && c.b - c.r < 14;
    }
    static bool Bright(const Rgb& c) { return c.r + c.g + c.b > 450; }

    // The share (0 to 1) of a box's pixels that pass test.
    double Share(float x, float y, float half, const std::function<bool(const Rgb&)>& test) const {
        const double side = 2.0 * half * kHeight;
        return Frame().Count(x - half, y + half, x + half, y - half, test) / (side * side);
    }
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
    EXPECT_GT(Frame().Count(x1 - 0.02f, yTop + 0.02f, x1 + 0.02f, yTop - 0.02f,
                            [&](const Rgb& p) {
                                return std::abs(p.r - panelTiles.r) + std::abs(p.g - panelTiles.g) +
                                           std::abs(p.b - panelTiles.b) >
                                       60;
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

// Beyond the level the view is one plain dark colour at every zoom: no
// pattern stretched over the strips to shimmer.
TEST_F(EditorPixelTest, BeyondTheLevelIsOnePlainDarkColourAtEveryZoom) {
    for (int zoom : {1, 2, 4}) {
        SCOPED_TRACE(zoom);
        LevelData::LevelEditor::SetZoom(editor->GetLevel(), zoom);
        Draw({"EGrid"});
        // Everything above the level's four rows, inset from the view's edges.
        const float top = 0.45f - 0.01f, bottom = -0.25f + 4.0f * Vars().UnitScaleY + 0.01f;
        int off = 0, all = 0;
        const Rgb first = At(0.2f, (top + bottom) / 2.0f);
        EXPECT_TRUE(Strip(first)) << int(first.r) << "," << int(first.g) << "," << int(first.b);
        for (float y = top; y > bottom; y -= 0.004f)
            for (float x = -0.34f; x < 0.74f; x += 0.004f, ++all) {
                const Rgb c = At(x, y);
                off += std::abs(c.r - first.r) + std::abs(c.g - first.g) + std::abs(c.b - first.b) > 12 ? 1 : 0;
            }
        EXPECT_LT(off, all / 100) << off << " of " << all << " pixels differ";
    }
}

// Spikes stand out on the view's dark field and on the palette's light
// panel: pale teeth with a dark rim, not the ground's dark colour.
TEST_F(EditorPixelTest, SpikesReadOnTheViewAndOnThePalette) {
    auto& g = *ObjectData::Grid::Find(Named("EGrid"));
    for (int c = 0; c < 4; ++c) g.grid.SetCell(static_cast<float>(c), 3.0f, 3 + c);
    Draw({"EGrid", "EObjList"});
    Keep("spikes");
    auto pale = [](const Rgb& p) { return p.r > 150 && p.g > 160 && p.b > 200; };
    for (int c = 0; c < 4; ++c) {
        const double share = Share(CellX(c), CellY(3), 0.03f, pale);
        EXPECT_GT(share, 0.15) << "spikes " << 3 + c << ": a share of " << share << " pale on the field";
    }
    // On the tiles tab the spikes (up at the top, right and left below it)
    // carry both their pale fill and their dark rim against the light panel.
    auto ink = [](const Rgb& p) { return p.r + p.g + p.b < 200; };
    for (const auto& [x, y] : {std::pair{-0.6f, 0.12f}, {-0.517f, 0.07f}, {-0.683f, 0.07f}}) {
        EXPECT_GT(Share(x, y, 0.025f, pale), 0.12) << x << ", " << y;
        EXPECT_GT(Share(x, y, 0.025f, ink), 0.05) << x << ", " << y;
    }
}

// A cell of a value the editor does not know is shown as the marked
// unknown cell, not as any of the things the palette offers.
TEST_F(EditorPixelTest, CellsOfUnknownValuesAreMarkedUnknown) {
    auto& g = *ObjectData::Grid::Find(Named("EGrid"));
    g.grid.SetCell(5.0f, 2.0f, 107);  // a speed boost beside them, to tell apart
    g.grid.SetCell(0.0f, 3.0f, -7);
    g.grid.SetCell(2.0f, 3.0f, 0x7fffffff);
    Draw({"EGrid"});
    Keep("unknown");
    auto amber = [](const Rgb& p) { return p.r > 180 && p.g > 110 && p.b < 90; };
    for (const auto& [c, r] : {std::pair{1, 2}, {3, 2}, {0, 3}, {2, 3}})
        EXPECT_GT(Share(CellX(c), CellY(r), 0.03f, amber), 0.06) << c << ", " << r;
    EXPECT_LT(Share(CellX(5), CellY(2), 0.03f, amber), 0.01) << "the speed boost";
}

// The palette's pictures keep their size whatever the grid's zoom.
TEST_F(EditorPixelTest, ThePaletteKeepsItsSizeAtEveryZoom) {
    auto shown = [&] {
        Draw({"EObjList"});
        const Rgb panel = At(-0.71f, 0.17f);
        return Frame().Count(-0.72f, 0.2f, -0.48f, -0.12f, [&](const Rgb& p) {
            return std::abs(p.r - panel.r) + std::abs(p.g - panel.g) + std::abs(p.b - panel.b) > 60;
        });
    };
    const int atOne = shown();
    ASSERT_GT(atOne, 200);
    for (int zoom : {2, 4}) {
        LevelData::LevelEditor::SetZoom(editor->GetLevel(), zoom);
        const int now = shown();
        EXPECT_GT(now, atOne * 9 / 10) << "zoom " << zoom << ": " << now << " against " << atOne;
        EXPECT_LT(now, atOne * 11 / 10) << "zoom " << zoom;
    }
}

}  // namespace
