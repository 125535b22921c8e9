// What later opaque quads hide: the opaque blocks of a picture, the cells of
// the window they cover, and the parts of a large quad that still show.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GLFixture.h"
#include "platform/graphics/Cover.h"

namespace {

// A width x height picture whose alpha at (x, y) is alpha(x, y).
template <class Alpha>
std::vector<std::uint8_t> Picture(int width, int height, Alpha alpha) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width * height * 4), 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rgba[static_cast<std::size_t>((y * width + x) * 4 + 3)] = alpha(x, y);
    return rgba;
}

using Opacity = OpaqueBlocks::Opacity;

}  // namespace

TEST(OpaqueBlocksTest, BlocksAnswerWhetherARectangleIsWhollyOpaque) {
    // 16 x 16: the top half clear, the bottom half opaque but for one soft
    // texel at (13, 12).
    const auto rgba = Picture(16, 16, [](int x, int y) { return y < 8 ? 0 : (x == 13 && y == 12 ? 200 : 255); });
    const OpaqueBlocks blocks(16, 16, rgba.data());
    ASSERT_FALSE(blocks.Empty());
    struct Case {
        int x0, y0, x1, y1;
        Opacity expected;
    } cases[] = {
        {0, 8, 12, 16, Opacity::All},   // the opaque half, short of the soft texel's block
        {0, 8, 16, 16, Opacity::Some},  // with the soft texel
        {0, 0, 16, 8, Opacity::None},   // the clear half
        {0, 4, 8, 12, Opacity::Some},   // across the edge between them
        {0, 9, 3, 11, Opacity::All},    // inside one block
        {-5, 14, 2, 40, Opacity::All},  // past the edges: the edge texels are read
        {-5, -5, 2, 2, Opacity::None}, {4, 10, 4, 12, Opacity::None},  // empty
    };
    for (const Case& c : cases)
        EXPECT_EQ(blocks.Of(c.x0, c.y0, c.x1, c.y1), c.expected)
            << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
    EXPECT_TRUE(blocks.Opaque(0, 8, 12, 16));
    EXPECT_FALSE(blocks.Opaque(0, 8, 16, 16));
}

TEST(OpaqueBlocksTest, VisibleRowsPerColumn) {
    // A skyline: column x shows from row x down to the bottom, but columns
    // 10 and 11 are clear and column 3 shows only rows 5 and 6.
    const auto rgba = Picture(16, 16, [](int x, int y) {
        if (x == 10 || x == 11) return 0;
        if (x == 3) return y == 5 || y == 6 ? 128 : 0;
        return y >= x ? 255 : 0;
    });
    const OpaqueBlocks blocks(16, 16, rgba.data());
    struct Case {
        int x0, x1, top, end;
    } cases[] = {
        {0, 1, 0, 16},    {5, 7, 5, 16},  {3, 4, 5, 7},
        {2, 4, 2, 16},    {10, 12, 0, 0}, {10, 13, 12, 16},  // the clear columns add nothing
        {14, 40, 14, 16},                                    // past the right edge: the edge column
        {-9, -3, 0, 16},                                     // past the left edge
    };
    for (const Case& c : cases) {
        int top = -1, end = -1;
        blocks.VisibleRows(c.x0, c.x1, top, end);
        if (c.end <= c.top)
            EXPECT_LE(end, top) << c.x0 << "-" << c.x1;
        else
            EXPECT_TRUE(top == c.top && end == c.end) << c.x0 << "-" << c.x1 << ": " << top << "-" << end;
    }
}

TEST(OpaqueBlocksTest, ClearAndFullPictures) {
    const auto clear = Picture(12, 10, [](int, int) { return 0; });
    const auto nearly = Picture(12, 10, [](int, int) { return 254; });
    const auto full = Picture(12, 10, [](int, int) { return 255; });
    EXPECT_TRUE(OpaqueBlocks(12, 10, clear.data()).Empty());
    EXPECT_TRUE(OpaqueBlocks(12, 10, nearly.data()).Empty());
    EXPECT_FALSE(OpaqueBlocks(12, 10, clear.data()).Opaque(0, 0, 12, 10));
    EXPECT_TRUE(OpaqueBlocks().Empty());
    const OpaqueBlocks whole(12, 10, full.data());
    // Sizes that are not a whole number of blocks: the last blocks hold what
    // there is.
    EXPECT_TRUE(whole.Opaque(0, 0, 12, 10));
    EXPECT_TRUE(whole.Opaque(11, 9, 12, 10));
    EXPECT_TRUE(whole.Opaque(-100, -100, 100, 100));
}

TEST(CoverGridTest, ShowingLeavesOutWhatLaterDrawsCover) {
    // 8 x 6 cells; the bottom two rows covered by draw 5, one cell of the
    // top row by draw 9, and a run of three cells of row 2 by draw 9.
    CoverGrid grid;
    grid.Reset(8 * CoverGrid::kCell, 6 * CoverGrid::kCell);
    EXPECT_FALSE(grid.Any());
    for (int c = 0; c < 8; ++c)
        for (int r = 4; r < 6; ++r) grid.Cover(c, r, 5);
    grid.Cover(3, 0, 9);
    for (int c = 2; c < 5; ++c) grid.Cover(c, 2, 9);
    grid.Cover(1, 4, 2);    // earlier than what the cell holds: kept at 5
    grid.Cover(20, 20, 9);  // outside: ignored
    EXPECT_TRUE(grid.Any());
    EXPECT_EQ(grid.At(1, 4), 5);
    using Span = CoverGrid::Span;
    struct Case {
        const char* what;
        std::int64_t order;
        int minSkip;
        std::vector<Span> expected;
    } cases[] = {
        {"drawn after every cover: whole", 9, 1, {{0, 0, 8, 6}}},
        {"drawn after the bottom rows' cover: they show",
         6,
         2,
         {{0, 0, 8, 2}, {0, 2, 2, 3}, {5, 2, 8, 3}, {0, 3, 8, 6}}},
        {"before every cover",
         4,
         1,
         {{0, 0, 3, 1}, {4, 0, 8, 1}, {0, 1, 8, 2}, {0, 2, 2, 3}, {5, 2, 8, 3}, {0, 3, 8, 4}}},
        {"a covered run shorter than the least is drawn over",
         4,
         2,
         {{0, 0, 8, 2}, {0, 2, 2, 3}, {5, 2, 8, 3}, {0, 3, 8, 4}}},
        {"only long covered runs are left out", 4, 4, {{0, 0, 8, 4}}},
    };
    for (const Case& c : cases) {
        std::vector<Span> out;
        grid.Showing(0, 0, 8, 6, c.order, c.minSkip, out);
        EXPECT_EQ(out, c.expected) << c.what;
    }
    // Part of the grid, and parts past its edge.
    std::vector<Span> out;
    grid.Showing(2, 1, 20, 20, 1, 1, out);
    EXPECT_EQ(out, (std::vector<Span>{{2, 1, 8, 2}, {5, 2, 8, 3}, {2, 3, 8, 4}}));
    // Wholly covered: nothing shows.
    out.clear();
    grid.Showing(0, 4, 8, 6, 1, 1, out);
    EXPECT_TRUE(out.empty());
    // A grid reset covers nothing.
    grid.Reset(16, 16);
    out.clear();
    grid.Showing(0, 0, 2, 2, 0, 1, out);
    EXPECT_EQ(out, (std::vector<Span>{{0, 0, 2, 2}}));
}

// The window drawn with covered parts left out is the window drawn whole.
class CoverPixelTest : public GLTest {
protected:
    // A full-window background (a picture with a pattern, so that a part
    // drawn from the wrong place shows) and one quad over it in the general
    // list.
    std::vector<std::uint8_t> Frame(bool skip, GLTexture* over, int tint, float size, float rotation,
                                    GLTexture* back = nullptr) {
        engine->savings.skipCovered = engine->savings.skipClear = skip;
        Buffer& b = Begin();
        // Repeated across one and a half times, from a third of the way in.
        if (back)
            b.AddBackground(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, back, 0.3f, 0, 1.5f, 1, -1);
        else
            b.AddBackground(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, pattern, 0, 0, 1, 1, -1);
        if (over) b.AddFrame(0.1f, -0.2f, 1.0f, size, size, rotation, over, 0, 0, 1, 1, tint);
        Finish(b);
        Draw();
        engine->savings.skipCovered = GraphicsEngine::Savings{}.skipCovered;
        engine->savings.skipClear = GraphicsEngine::Savings{}.skipClear;
        return pixels;
    }
    void SetUp() override {
        GLTest::SetUp();
        const auto stripes = Picture(16, 16, [](int, int) { return 255; });
        std::vector<std::uint8_t> rgba = stripes;
        for (int i = 0; i < 16 * 16; ++i) {
            rgba[static_cast<std::size_t>(i * 4)] = static_cast<std::uint8_t>((i % 16) * 16);
            rgba[static_cast<std::size_t>(i * 4 + 1)] = static_cast<std::uint8_t>((i / 16) * 16);
        }
        pattern = GraphicsEngine::CreateTexture(16, 16, rgba.data(), true);
    }
    void TearDown() override {
        ReleaseGLTexture(pattern);
        GLTest::TearDown();
    }
    // A texture noted with the opaque and clear parts of `noted`.
    GLTexture* Noted(int size, const std::vector<std::uint8_t>& rgba, const std::vector<std::uint8_t>& noted) {
        GLTexture* texture = GraphicsEngine::CreateTexture(size, size, rgba.data(), true);
        GraphicsEngine::KnowOpaqueParts(texture, size, size, noted.data());
        made.push_back(texture);
        return texture;
    }
    ~CoverPixelTest() override {
        for (GLTexture* texture : made) ReleaseGLTexture(texture);
    }
    GLTexture* pattern = nullptr;
    std::vector<GLTexture*> made;
};

TEST_F(CoverPixelTest, LeavingOutCoveredPartsKeepsThePicture) {
    const auto opaque = Picture(32, 32, [](int, int) { return 255; });
    // Soft edges: alpha rises over the outer four texels.
    const auto soft = Picture(32, 32, [](int x, int y) {
        const int edge = std::min(std::min(x, 31 - x), std::min(y, 31 - y));
        return edge >= 4 ? 255 : edge * 60;
    });
    // Hills: clear above a skyline that differs from column to column, with
    // a soft rim, coloured so that a part read from the wrong place shows.
    auto hills = Picture(32, 32, [](int x, int y) {
        const int sky = 8 + (x * 7) % 13;
        return y < sky ? 0 : (y < sky + 2 ? 100 : 255);
    });
    for (std::size_t i = 0; i < hills.size(); i += 4) hills[i] = static_cast<std::uint8_t>(i % 251);
    GLTexture* solid = Noted(32, opaque, opaque);
    GLTexture* rim = Noted(32, soft, soft);
    GLTexture* hill = Noted(32, hills, hills);
    struct Case {
        const char* what;
        GLTexture* over;
        int tint;
        float size;
        float rotation;
        GLTexture* back;
    } cases[] = {
        {"opaque", solid, -1, 0.7f, 0.0f, nullptr},
        {"opaque, coloured", solid, static_cast<int>(0xFF40A0C0u), 0.7f, 0.0f, nullptr},
        {"half transparent tint", solid, static_cast<int>(0x80FFFFFFu), 0.7f, 0.0f, nullptr},
        {"soft edges", rim, -1, 0.7f, 0.0f, nullptr},
        {"soft edges, read small", rim, -1, 0.3f, 0.0f, nullptr},
        {"turned", solid, -1, 0.7f, 0.4f, nullptr},
        {"hills behind, nothing over them", nullptr, -1, 0.0f, 0.0f, hill},
        {"hills behind a block", solid, -1, 0.7f, 0.0f, hill},
    };
    for (const Case& c : cases) {
        const auto whole = Frame(false, c.over, c.tint, c.size, c.rotation, c.back);
        const auto cut = Frame(true, c.over, c.tint, c.size, c.rotation, c.back);
        int worst = 0;
        for (std::size_t i = 0; i < whole.size(); ++i) worst = std::max(worst, std::abs(int{whole[i]} - int{cut[i]}));
        EXPECT_LE(worst, 1) << c.what;
    }
}

TEST_F(CoverPixelTest, AQuadNotedOpaqueHidesWhatLiesUnderIt) {
    // A clear picture noted as opaque: where it is said to cover, the
    // background is left out (and the clear quad draws nothing), which shows
    // that covered parts are not drawn.
    const auto clear = Picture(32, 32, [](int, int) { return 0; });
    const auto opaque = Picture(32, 32, [](int, int) { return 255; });
    GLTexture* liar = Noted(32, clear, opaque);
    const auto cut = Frame(true, liar, -1, 0.7f, 0.0f);
    const auto whole = Frame(false, liar, -1, 0.7f, 0.0f);
    // The quad spans x 0.1 +- 0.35, y -0.2 +- 0.35: pixels 16-61 across,
    // 22 down to past the bottom. Its middle is black when cut, the
    // background when not; outside it both show the background.
    const Pixel inside = At(cut, 64, 32, 40), outside = At(cut, 64, 5, 5);
    EXPECT_EQ(inside.r + inside.g + inside.b, 0);
    EXPECT_GT(At(whole, 64, 32, 40).r + At(whole, 64, 32, 40).g, 0);
    EXPECT_EQ(outside.r, At(whole, 64, 5, 5).r);
    EXPECT_EQ(outside.g, At(whole, 64, 5, 5).g);
}

TEST_F(CoverPixelTest, AQuadIsNotDrawnWhereItsPictureIsNotedClear) {
    // An opaque picture noted as clear in its top half: that half of the
    // window is left out (black) when clear parts are skipped.
    const auto opaque = Picture(32, 32, [](int, int) { return 255; });
    const auto lowerHalf = Picture(32, 32, [](int, int y) { return y < 16 ? 0 : 255; });
    GLTexture* liar = Noted(32, opaque, lowerHalf);
    const auto cut = Frame(true, nullptr, -1, 0.0f, 0.0f, liar);
    const auto whole = Frame(false, nullptr, -1, 0.0f, 0.0f, liar);
    EXPECT_EQ(At(cut, 64, 32, 8).r + At(cut, 64, 32, 8).g + At(cut, 64, 32, 8).b, 0);
    EXPECT_EQ(At(whole, 64, 32, 8).r, 255);
    EXPECT_EQ(At(cut, 64, 32, 56).r, 255);
}
