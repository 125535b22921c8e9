#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "GLFixture.h"
#include "platform/graphics/Frame.h"
#include "platform/graphics/Texture.h"

namespace {

bool IsWhite(Pixel p) { return p.r > 250 && p.g > 250 && p.b > 250; }
bool IsBlack(Pixel p) { return p.r < 5 && p.g < 5 && p.b < 5; }

// A mask that lets every colour through.
GLTexture* WhiteMask() {
    const std::uint32_t whitePixel = 0xFFFFFFFFu;
    return GraphicsEngine::CreateTexture(1, 1, &whitePixel, false);
}

}  // namespace

TEST_F(GLTest, QuadsArePlacedWithYUpAndCentredOrigin) {
    Buffer& b = Begin();
    // The game area is 1 unit high: y = 0.25 is a quarter of the way up.
    b.AddFrame(0.0f, 0.25f, 0.0f, 0.25f, 0.25f, 0.0f, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 16)));  // rows count from the top
    EXPECT_TRUE(IsBlack(At(32, 48)));
    EXPECT_TRUE(IsBlack(At(32, 30)));
    EXPECT_TRUE(IsBlack(At(10, 16)));
    EXPECT_TRUE(target.updated);
}

TEST_F(GLTest, RotationTurnsCounterClockwise) {
    Buffer& b = Begin();
    // A bar along x from the centre to the right, turned a quarter turn:
    // it points up afterwards.
    b.AddFrame(0.0f, 0.0f, 0.0f, 0.1f, 0.8f, std::numbers::pi_v<float> / 2, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(8, 32)));
    EXPECT_TRUE(IsWhite(At(56, 32)));
    EXPECT_TRUE(IsBlack(At(32, 8)));
    EXPECT_TRUE(IsBlack(At(32, 56)));
}

TEST_F(GLTest, ColourTintsTheTexture) {
    struct Case {
        int colour;
        Pixel expected;
    } cases[] = {
        {static_cast<int>(0xFF00FF00u), {0, 255, 0, 255}},
        {static_cast<int>(0xFFFF0000u), {255, 0, 0, 255}},
        {static_cast<int>(0xFF0000FFu), {0, 0, 255, 255}},
        {static_cast<int>(0xFF808080u), {128, 128, 128, 255}},
        // Half alpha blends half-way onto the black clear.
        {static_cast<int>(0x80FFFFFFu), {128, 128, 128, 255}},
    };
    for (const Case& c : cases) {
        Buffer& b = Begin();
        b.AddFrame(0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, c.colour);
        Finish(b);
        Draw();
        const Pixel p = At(32, 32);
        EXPECT_NEAR(p.r, c.expected.r, 2) << std::hex << c.colour;
        EXPECT_NEAR(p.g, c.expected.g, 2) << std::hex << c.colour;
        EXPECT_NEAR(p.b, c.expected.b, 2) << std::hex << c.colour;
    }
}

TEST_F(GLTest, LargerDepthIsDrawnOnTop) {
    Buffer& b = Begin();
    b.AddFrame(0, 0, 2.0f, 0.5f, 0.5f, 0, white, 0, 0, 1, 1, static_cast<int>(0xFFFF0000u));
    b.AddFrame(0, 0, 1.0f, 0.5f, 0.5f, 0, white, 0, 0, 1, 1, static_cast<int>(0xFF0000FFu));
    Finish(b);
    Draw();
    const Pixel p = At(32, 32);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.b, 0);
}

TEST_F(GLTest, LayersAreComposedIntoTheWindowImage) {
    Buffer& b = Begin();
    b.layerColor[2] = 0xFF0000FFu;  // layer 2 is cleared to blue
    b.AddFrameToLayer(2, -0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0, 0, 1, 1, static_cast<int>(0xFFFF0000u));
    // The whole layer drawn as one quad of the window image.
    b.AddFrame(0, 0, 0, 1, 1, 0, 2u, -1);
    Finish(b);
    Draw();
    const Pixel left = At(16, 32), right = At(48, 32);
    EXPECT_TRUE(left.r > 250 && left.b < 5) << left.r << "," << left.b;
    EXPECT_TRUE(right.b > 250 && right.r < 5) << right.r << "," << right.b;
    // The layer is not flipped on its way into the window image.
    const Pixel top = At(16, 2);
    EXPECT_GT(top.r, 250);
}

TEST_F(GLTest, LayerReadButNotDrawnShowsOnlyItsClearColour) {
    // Frame 1 paints red into layer 2; frame 2 only reads the layer, which
    // must come back cleared, not holding frame 1's picture.
    for (int frame = 0; frame < 2; ++frame) {
        Buffer& b = Begin();
        b.layerColor[2] = 0xFF0000FFu;
        if (frame == 0)
            b.AddFrameToLayer(2, -0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0, 0, 1, 1, static_cast<int>(0xFFFF0000u));
        b.AddFrame(0, 0, 0, 1, 1, 0, 2u, -1);
        Finish(b);
        Draw();
    }
    for (int x : {16, 48}) {
        const Pixel p = At(x, 32);
        EXPECT_TRUE(p.b > 250 && p.r < 5) << x << ": " << int(p.r) << "," << int(p.b);
    }
}

TEST_F(GLTest, DepthWrittenByALayerListReachesTheWindowImage) {
    // The layers and the window image share one depth buffer: depth that a
    // layer list writes lets the splatter draw there in the window image.
    GLTexture* mask = WhiteMask();
    Buffer& b = Begin();
    b.layerTechnique[1] = "TechniqueTile2D";
    b.AddFrameToLayer(1, -0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0, 0, 1, 1, -1);
    b.maskTexture[12] = mask;
    b.tileTechnique[12] = "TechniqueTileSplatter2D";
    b.AddTile(12, 0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, static_cast<int>(0xFFFF0000u));
    Finish(b);
    Draw();
    ReleaseGLTexture(mask);
    const Pixel left = At(16, 32), right = At(48, 32);
    EXPECT_GT(left.r, 250);
    EXPECT_TRUE(IsBlack(right)) << int(right.r) << "," << int(right.g) << "," << int(right.b);
}

TEST_F(GLTest, QuadWithoutTextureOrLayerDrawsNothing) {
    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, static_cast<GLTexture*>(nullptr), 0, 0, 1, 1, -1);
    // An out-of-table frame has no picture either.
    Frame missing;
    missing.texture = 12345;
    b.AddFrame(0, 0, 0, 1, 1, 0, missing, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsBlack(At(32, 32)));
}

TEST_F(GLTest, FrameDrawsItsSheetRectangle) {
    // An 8 by 1 sheet: red left half, green right half; the frame names the
    // right half.
    const std::uint32_t sheet[8] = {0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu,
                                    0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u};
    GLTexture* texture = GraphicsEngine::CreateTexture(8, 1, sheet, false);
    Texture record{texture, 0, 0.5f, 0.0f, 0.5f, 1.0f, 0.125f, 1.0f};
    TextureList.push_back(&record);
    Frame frame;
    frame.texture = static_cast<int>(TextureList.size() - 1);
    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, frame, -1);
    Finish(b);
    Draw();
    TextureList.pop_back();
    ReleaseGLTexture(texture);
    for (int x : {10, 32, 54}) {
        const Pixel p = At(x, 32);
        EXPECT_GT(p.g, 250) << x;
        EXPECT_LT(p.r, 5) << x;
    }
}

TEST_F(GLTest, FullyTransparentTileWritesNoDepthSoSplatterSkipsIt) {
    GLTexture* mask = WhiteMask();
    Buffer& b = Begin();
    // Tile list 0 (depth-writing tiles): an opaque tile on the left, a fully
    // transparent one on the right.
    b.maskTexture[0] = mask;
    b.AddTile(0, -0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0, 0, 1, 1, static_cast<int>(0xFF202020u));
    b.AddTile(0, 0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0, 0, 1, 1, 0x00FFFFFF);
    // Tile list 12: splatter over everything, drawn only where tiles wrote depth.
    b.tileTechnique[12] = "TechniqueTileSplatter2D";
    b.AddTile(12, 0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, static_cast<int>(0xFFFF0000u));
    Finish(b);
    Draw();
    ReleaseGLTexture(mask);
    const Pixel left = At(16, 32), right = At(48, 32);
    EXPECT_GT(left.r, 250);
    EXPECT_LT(left.g, 5);
    EXPECT_TRUE(IsBlack(right)) << right.r << "," << right.g << "," << right.b;
}

TEST_F(GLTest, TransparentQuadChangesNoPixel) {
    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, static_cast<int>(0xFF336699u));
    b.AddFrame(0, 0, 1, 1, 1, 0, white, 0, 0, 1, 1, 0x00FFFFFF);
    Finish(b);
    Draw();
    const Pixel p = At(32, 32);
    EXPECT_EQ(p.r, 0x33);
    EXPECT_EQ(p.g, 0x66);
    EXPECT_EQ(p.b, 0x99);
    EXPECT_EQ(p.a, 255);
}

TEST_F(GLTest, LightIsBrightestAtTheCentreAndFadesToZeroAtTheInscribedCircle) {
    Buffer& b = Begin();
    b.layerTechnique[0] = "TechniqueLight";
    b.AddFrameToLayer(0, 0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    // The light layer read as the mask of a white tile over the window.
    b.tileTechnique[6] = "TechniqueTile2D";
    b.maskTexture[6] = nullptr;
    b.maskTextureLayer[6] = 0;
    b.AddTile(6, 0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    Finish(b);
    engine->DrawAll();
    // Only light is drawn into the layer: it is drawn at half size.
    EXPECT_EQ(position->layerRenderTarget[0].width, 32);
    EXPECT_EQ(position->layerRenderTarget[0].height, 32);
    Draw();
    EXPECT_GE(At(32, 32).r, 248);
    // Half-way out: 1 - 0.5^2 = 0.75.
    EXPECT_NEAR(At(48, 32).r, 191, 8);
    EXPECT_NEAR(At(32, 16).r, 191, 8);
    // At the inscribed circle next to nothing (the half-size layer is read
    // filtered), beyond it nothing.
    EXPECT_LE(At(63, 32).r, 20);
    EXPECT_EQ(At(1, 1).r, 0);
    // Monotonic fall-off along a radius.
    for (int x = 33; x < 63; ++x) EXPECT_LE(At(x, 32).r, At(x - 1, 32).r) << x;
}

TEST_F(GLTest, LayerListNothingReadsIsNotDrawn) {
    // Layer 1 is drawn into but nothing shows it; layer 2 is shown.
    Buffer& b = Begin();
    b.AddFrameToLayer(1, 0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    b.AddFrameToLayer(2, 0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    b.AddFrame(0, 0, 0, 1, 1, 0, 2u, -1);
    Finish(b);
    engine->drawCalls = 0;
    engine->DrawAll();
    // The quad into layer 2 and the layer shown: two draws, none for layer 1.
    EXPECT_EQ(engine->drawCalls, 2u);
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 32)));
}

TEST_F(GLTest, TileTexturesAreSampledInScreenSpaceAndLineUp) {
    // A 64 by 64 tile texture whose red grows along x and green down y.
    std::vector<std::uint32_t> gradient(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient[static_cast<std::size_t>(y * 64 + x)] =
                0xFF000000u | (static_cast<std::uint32_t>(y * 4) << 8) | static_cast<std::uint32_t>(x * 4);
    GLTexture* tile = GraphicsEngine::CreateTexture(64, 64, gradient.data(), false);
    Buffer& b = Begin();
    b.tileTechnique[3] = "TechniqueTilePara2D";
    b.tileTexture[3] = tile;
    // Two neighbouring tiles, each with its own texture rectangle.
    b.AddTile(3, -0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0, 0, 1, 1, -1);
    b.AddTile(3, 0.25f, 0, 0, 0.5f, 1.0f, 0, white, 0.5f, 0, 0.5f, 1, -1);
    Finish(b);
    Draw();
    ReleaseGLTexture(tile);
    for (int x : {0, 20, 31, 32, 33, 63})
        for (int y : {0, 17, 40, 63}) {
            const Pixel p = At(x, y);
            EXPECT_NEAR(p.r, x * 4, 2) << x << "," << y;
            EXPECT_NEAR(p.g, y * 4, 2) << x << "," << y;
        }
}

TEST_F(GLTest, BatchesBreakOnTextureChangesAndAtTheirSize) {
    const std::uint32_t redPixel = 0xFF0000FFu;
    GLTexture* red = GraphicsEngine::CreateTexture(1, 1, &redPixel, false);
    struct Case {
        int quads;
        bool alternate;
        std::uint64_t draws;
    } cases[] = {{1, false, 1}, {60, false, 1}, {121, false, 1}, {2048, false, 1}, {2049, false, 2}, {6, true, 6}};
    for (const Case& c : cases) {
        Buffer& b = Begin();
        for (int i = 0; i < c.quads; ++i)
            b.AddFrame(0, 0, static_cast<float>(i), 0.1f, 0.1f, 0, (c.alternate && i % 2) ? red : white, 0, 0, 1, 1,
                       -1);
        Finish(b);
        engine->drawCalls = 0;
        engine->DrawAll();
        EXPECT_EQ(engine->drawCalls, c.draws) << c.quads << (c.alternate ? " alternating" : "");
    }
    ReleaseGLTexture(red);
}

TEST_F(GLTest, WindowWithoutTargetIsSkippedAndTheOthersAreDrawn) {
    // A window listed before ours whose target has no size.
    RenderTarget empty;
    float emptyAspect = 1.0f;
    TripleBuffer::Position broken;
    {
        std::lock_guard<WatchedMutex> lock(TripleBuffer::ListCritical);
        broken = TripleBuffer::Add(&empty, &emptyAspect);
        TripleBuffer::tripleBuffers.splice(TripleBuffer::tripleBuffers.begin(), TripleBuffer::tripleBuffers, broken);
    }
    Buffer* brokenBuffer = broken->GetOldestBuffer();
    ASSERT_NE(brokenBuffer, nullptr);
    brokenBuffer->AddFrame(0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    brokenBuffer->Ready();

    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 32)));
    EXPECT_TRUE(target.updated);
    EXPECT_FALSE(empty.updated);
    // The skipped window's buffer was given back.
    {
        std::lock_guard<WatchedMutex> lock(Buffer::Critical);
        for (const Buffer& buffer : broken->buffers) EXPECT_TRUE(buffer.available);
    }
    TripleBuffer::Remove(broken);
}

TEST_F(GLTest, WindowWithoutNewFrameKeepsItsImageAndIsNotUpdated) {
    RenderTarget other;
    other.width = other.height = 16;
    float otherAspect = 1.0f;
    auto second = TripleBuffer::Add(&other, &otherAspect);
    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(target.updated);
    EXPECT_FALSE(other.updated);  // its game thread has produced nothing yet
    // No new frame: the last one is drawn again.
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 32)));
    TripleBuffer::Remove(second);
}

TEST_F(GLTest, CameraOffsetAndScaleMoveTheFrame) {
    Buffer& b = Begin();
    b.cameraX = 0.25f;
    b.cameraScale = 2.0f;
    // At x = 0.25 with the camera there and zoom 2, the quad lands in the
    // centre and twice as large.
    b.AddFrame(0.25f, 0, 0, 0.25f, 0.25f, 0, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 32)));
    EXPECT_TRUE(IsWhite(At(32 + 14, 32)));
    EXPECT_TRUE(IsBlack(At(32 + 18, 32)));
}

TEST(Coordinates, ScreenToGameAtEightHundredBySixHundred) {
    GameArea area{100, 50, 800, 600, 4.0f / 3.0f, 600};
    struct Case {
        int px, py;
        float gx, gy;
    } cases[] = {
        {500, 350, 0.0f, 0.0f},          // centre
        {500, 50, 0.0f, 0.5f},           // top edge
        {500, 650, 0.0f, -0.5f},         // bottom edge
        {100, 350, -2.0f / 3.0f, 0.0f},  // left edge: half the width of 4/3 units
        {800, 350, 300.0f / 600.0f, 0.0f},
    };
    for (const Case& c : cases) {
        float gx = 9, gy = 9;
        GraphicsEngine::ScreenToGame(area, c.px, c.py, gx, gy);
        EXPECT_FLOAT_EQ(gx, c.gx) << c.px << "," << c.py;
        EXPECT_FLOAT_EQ(gy, c.gy) << c.px << "," << c.py;
        int px = 0, py = 0;
        GraphicsEngine::GameToScreen(area, c.gx, c.gy, px, py);
        EXPECT_EQ(px, c.px);
        EXPECT_EQ(py, c.py);
    }
    // A wider area than the aspect: the height sets the scale.
    GameArea wide{0, 0, 1000, 500, 1.0f, 500};
    float gx, gy;
    GraphicsEngine::ScreenToGame(wide, 1000, 0, gx, gy);
    EXPECT_FLOAT_EQ(gx, 1.0f);
    EXPECT_FLOAT_EQ(gy, 0.5f);
    // No area yet: no division by zero.
    GraphicsEngine::ScreenToGame(GameArea{0, 0, 0, 0, 1.0f, 0}, 5, 5, gx, gy);
    EXPECT_EQ(gx, 0.0f);
}

// A pixel beyond the area's left or top edge (the pointer outside the game
// area, a scripted click aimed off it) comes back as the same pixel, as one
// inside does; so do sizes and offsets taken to pixels and back.
TEST(Coordinates, PixelsOnEitherSideOfTheAreaRoundTrip) {
    GameArea area{100, 50, 800, 600, 4.0f / 3.0f, 600};
    for (int p : {-700, -1, 0, 1, 99, 100, 499, 500, 501, 899, 900, 1500}) {
        float gx = 0, gy = 0;
        GraphicsEngine::ScreenToGame(area, p, p, gx, gy);
        int px = 0, py = 0;
        GraphicsEngine::GameToScreen(area, gx, gy, px, py);
        EXPECT_EQ(px, p) << "game x " << gx;
        EXPECT_EQ(py, p) << "game y " << gy;
    }
    GameArea (*saved)() = GraphicsEngine::currentGameArea;
    GraphicsEngine::currentGameArea = [] { return GameArea{0, 0, 800, 600, 4.0f / 3.0f, 600}; };
    for (int p : {-600, -2, -1, 0, 1, 2, 600}) {
        float x = 0;
        ConvertFromPixelsToFloat(p, x);
        int back = 99;
        ConvertFromFloatToPixels(x, back);
        EXPECT_EQ(back, p) << x;
    }
    int nearest = 0;
    ConvertFromFloatToPixels(-0.7f / 600.0f, nearest);
    EXPECT_EQ(nearest, -1);
    GraphicsEngine::currentGameArea = saved;
}

TEST(Coordinates, FileIsType) {
    std::string base = "unchanged";
    EXPECT_FALSE(GraphicsEngine::FileIsType("noextension", base, "png"));
    EXPECT_EQ(base, "unchanged");
    EXPECT_FALSE(GraphicsEngine::FileIsType(".png", base, "png"));
    EXPECT_EQ(base, "unchanged");
    EXPECT_TRUE(GraphicsEngine::FileIsType("dir.v2/level.LVL", base, "lvl"));
    EXPECT_EQ(base, "dir.v2/level");
    EXPECT_FALSE(GraphicsEngine::FileIsType("a.png", base, "PNG"));
    EXPECT_EQ(base, "a");
}

TEST_F(GLTest, AQuadTooThinForAnyMipLevelIsDrawnAsItIsBesideTheOthers) {
    // A picture with rows that show nothing is fitted to its visible rows; a
    // quad so thin that its texels per pixel overflow must not upset that.
    const std::uint32_t pixels[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    GLTexture* partly = GraphicsEngine::CreateTexture(1, 4, pixels, false);
    ASSERT_NE(partly, nullptr);
    partly->visibleV0 = 0.25f;
    Buffer& b = Begin();
    b.AddFrame(0.0f, 0.25f, 0.0f, 0.25f, 1e-44f, 0.0f, partly, 0, 0, 1, 1, -1);
    b.AddFrame(0.0f, -0.25f, 0.0f, 0.25f, 0.25f, 0.0f, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 48)));
    ReleaseGLTexture(partly);
}

TEST_F(GLTest, ParallaxStripsInOnePassLookAsDrawnOneByOne) {
    // A picture of soft bands: clear rows at the top and bottom (fitting cuts
    // them), alpha rising row by row and varying across, so every strip's
    // place, span and tint shows in the blend.
    constexpr int kSide = 16;
    std::vector<std::uint32_t> bands(kSide * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const std::uint32_t a = (y < 3 || y > 12) ? 0u : static_cast<std::uint32_t>(40 + 15 * (y - 3) + 5 * x);
            bands[static_cast<std::size_t>(y * kSide + x)] = (std::min(a, 255u) << 24) | 0x00FFFFFFu;
        }
    GLTexture* strip = GraphicsEngine::CreateTexture(kSide, kSide, bands.data(), true);
    ASSERT_NE(strip, nullptr);
    VisibleRows(kSide, kSide, reinterpret_cast<const unsigned char*>(bands.data()), strip->visibleV0, strip->visibleV1);
    // The ground colour the strips take, read where they land on the target.
    std::vector<std::uint32_t> gradient(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient[static_cast<std::size_t>(y * 64 + x)] =
                0xFF200000u | (static_cast<std::uint32_t>(y * 4) << 8) | static_cast<std::uint32_t>(x * 4);
    GLTexture* ground = GraphicsEngine::CreateTexture(64, 64, gradient.data(), false);

    struct Strip {
        float x, y, width, height, rotation, u, du;
        std::uint32_t colour;
    };
    struct Case {
        const char* what;
        std::vector<Strip> strips;
    } cases[] = {
        {"three over the same columns, overlapping",
         {{0, 0.1f, 1, 0.8f, 0, 0.3f, 2.0f, 0xFF2E2E2Eu},
          {0, -0.05f, 1, 0.6f, 0, -0.7f, 1.5f, 0xFF5C5C5Cu},
          {0, 0, 1, 1, 0, 0, 1, 0xFFB9B9B9u}}},
        {"one upside down, one half transparent",
         {{0, 0.2f, 1, -0.7f, 0, 0.1f, 3.0f, 0xFFFF8040u}, {0, -0.1f, 1, 0.5f, 0, 0.5f, 0.5f, 0x80FFFFFFu}}},
        {"more than one pass holds",
         {{0, 0.3f, 1, 0.3f, 0, 0, 1, 0xFFFFFFFFu},
          {0, 0.2f, 1, 0.3f, 0, 0.1f, 1, 0xFFFFFFFFu},
          {0, 0.1f, 1, 0.3f, 0, 0.2f, 1, 0xFFFFFFFFu},
          {0, 0.0f, 1, 0.3f, 0, 0.3f, 1, 0xFFFFFFFFu},
          {0, -0.1f, 1, 0.3f, 0, 0.4f, 1, 0xFFFFFFFFu},
          {0, -0.2f, 1, 0.3f, 0, 0.5f, 1, 0xFFFFFFFFu}}},
        {"other columns and a turned strip break the run",
         {{0, 0.1f, 1, 0.5f, 0, 0, 1, 0xFFFFFFFFu},
          {0.2f, 0, 0.6f, 0.5f, 0, 0, 1, 0xFF00FF00u},
          {0, -0.1f, 1, 0.5f, 0.4f, 0, 1, 0xFFFF0000u},
          {0, 0, 1, 0.5f, 0, 0.25f, 1, 0xFF0000FFu}}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> images[2];
        for (int stacked = 0; stacked < 2; ++stacked) {
            engine->savings.stackStrips = stacked == 1;
            Buffer& b = Begin();
            b.tileTechnique[1] = "TechniqueTilePara2D";
            b.tileTexture[1] = ground;
            for (const Strip& s : c.strips)
                b.AddTile(1, s.x, s.y, 0, s.width, s.height, s.rotation, strip, s.u, 0.01f, s.du, 0.98f,
                          static_cast<int>(s.colour));
            Finish(b);
            Draw();
            images[stacked] = pixels;
        }
        engine->savings.stackStrips = GraphicsEngine::Savings{}.stackStrips;
        int largest = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (i % 4 != 3) largest = std::max(largest, std::abs(int{images[0][i]} - int{images[1][i]}));
        // The one-by-one drawing rounds the target to 8 bits between strips.
        EXPECT_LE(largest, 3) << c.what;
        // Something was drawn: the strips do not vanish in both ways alike.
        int lit = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4) lit += images[1][i + 1] > 8;
        EXPECT_GT(lit, 64 * 8) << c.what;
    }
    ReleaseGLTexture(ground);
    ReleaseGLTexture(strip);
}

TEST_F(GLTest, ALayerHoldingNothingIsShownOnlyWhenItsClearColourShows) {
    // Layer 2 has no list drawn into it: it holds its clear colour only. A
    // transparent clear adds nothing to the window image, so showing it
    // costs no draw; an opaque one still shows.
    struct Case {
        std::uint32_t clear;
        std::uint64_t draws;
        bool blue;
    } cases[] = {{0x00000000u, 0, false}, {0x000000FFu, 0, false}, {0xFF0000FFu, 1, true}};
    for (const Case& c : cases) {
        Buffer& b = Begin();
        b.layerColor[2] = c.clear;
        b.AddFrame(0, 0, 0, 1, 1, 0, 2u, -1);
        Finish(b);
        engine->drawCalls = 0;
        engine->DrawAll();
        EXPECT_EQ(engine->drawCalls, c.draws) << std::hex << c.clear;
        Draw();
        EXPECT_EQ(At(32, 32).b > 250, c.blue) << std::hex << c.clear;
        EXPECT_TRUE(At(32, 32).r < 5) << std::hex << c.clear;
    }
}

// The stream buffer starts small: a frame that streams more corners than it
// holds makes it grow, and every quad of that frame is still drawn.
TEST_F(GLTest, AFrameLargerThanTheStreamBufferGrowsItAndDrawsEveryQuad) {
    auto streamBufferBytes = [] {
        GLint name = 0, size = 0;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &name);
        if (name == 0) return 0;
        glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(name));
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        return size;
    };
    // Layers of one quad on every pixel of the 64 by 64 target, each layer
    // nearer than the one before; the nearest, red, is streamed last.
    constexpr int kSide = 64, kLayers = 5;
    constexpr std::size_t kStreamed = std::size_t{kSide * kSide * kLayers} * 4 * sizeof(GraphicsEngine::QuadVertex);
    auto frame = [&](int layers) {
        Buffer& b = Begin();
        for (int layer = 0; layer < layers; ++layer)
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    const float cx = (static_cast<float>(x) + 0.5f) / kSide - 0.5f;
                    const float cy = 0.5f - (static_cast<float>(y) + 0.5f) / kSide;
                    const int colour = layer == layers - 1 ? static_cast<int>(0xFFFF0000u) : -1;
                    b.AddFrame(cx, cy, static_cast<float>(layer), 1.0f / kSide, 1.0f / kSide, 0, white, 0, 0, 1, 1,
                               colour);
                }
        Finish(b);
        Draw();
    };
    frame(1);
    const int before = streamBufferBytes();
    ASSERT_GT(before, 0);
    ASSERT_LT(static_cast<std::size_t>(before), kStreamed) << "the frame below must not fit the starting buffer";

    frame(kLayers);
    EXPECT_GE(static_cast<std::size_t>(streamBufferBytes()), kStreamed);
    int notRed = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const Pixel p = At(x, y);
            notRed += !(p.r > 250 && p.g < 5 && p.b < 5);
        }
    EXPECT_EQ(notRed, 0);

    // The next, small frame is drawn from the grown buffer as well.
    frame(1);
    int notRedAfter = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) notRedAfter += At(x, y).r < 250;
    EXPECT_EQ(notRedAfter, 0);
}
