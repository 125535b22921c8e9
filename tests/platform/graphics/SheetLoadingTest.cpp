// The baked sheets go up on demand, through the real renderer: only what a
// frame shows is decoded and uploaded, a picture is drawn the same whether
// its sheet was asked for ahead or first met while drawing, and the parts of
// its pictures that can show anything are known once a sheet is up.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "GLFixture.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

namespace {

class SheetLoadingTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        engine->LoadTextures();
        ASSERT_GT(Texture::sheetCount, 1);
    }
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        engine->FreeTextures();
        FreeSheetData();
        GLTest::TearDown();
    }

    static std::set<int> LoadedSheets() {
        std::set<int> loaded;
        for (int i = 0; i < Texture::sheetCount; ++i)
            if (SheetLoaded(i)) loaded.insert(i);
        return loaded;
    }
    // The largest named picture that is not on the sheet of "white" (which
    // the tables ask for as they load).
    static std::string PictureAwayFromWhite() {
        const int whiteSheet = TextureStringMap.at("white")->sheet;
        std::string best;
        for (const auto& [name, t] : TextureStringMap) {
            if (t->sheet == whiteSheet) continue;
            if (best.empty() || t->du * t->dv > TextureStringMap.at(best)->du * TextureStringMap.at(best)->dv)
                best = name;
        }
        return best;
    }
    // A picture on the sheet holding the most named pictures, "white"'s apart.
    static std::string PictureOnTheBusiestSheet() {
        const int whiteSheet = TextureStringMap.at("white")->sheet;
        std::map<int, int> perSheet;
        for (const auto& [name, t] : TextureStringMap) ++perSheet[t->sheet];
        perSheet.erase(whiteSheet);
        const int busiest = std::max_element(perSheet.begin(), perSheet.end(), [](auto& a, auto& b) {
                                return a.second < b.second;
                            })->first;
        for (const auto& [name, t] : TextureStringMap)
            if (t->sheet == busiest) return name;
        return "";
    }
};

TEST_F(SheetLoadingTest, OnlyTheSheetsAFrameShowsAreDecoded) {
    // Reading the sheet data decodes nothing; "white" is asked for.
    EXPECT_TRUE(LoadedSheets().empty());
    const int whiteSheet = TextureStringMap.at("white")->sheet;
    EXPECT_TRUE(SheetWanted(whiteSheet));

    const std::string name = PictureAwayFromWhite();
    ASSERT_FALSE(name.empty());
    const Texture* picture = TextureStringMap.at(name);
    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, FrameMap(name, 0, 0), -1);
    Finish(b);
    EXPECT_TRUE(SheetWanted(picture->sheet));
    Draw();
    EXPECT_EQ(LoadedSheets(), (std::set<int>{whiteSheet, picture->sheet}));
    // Drawing it again loads nothing more.
    Buffer& again = Begin();
    again.AddFrame(0, 0, 0, 1, 1, 0, FrameMap(name, 0, 0), -1);
    Finish(again);
    Draw();
    EXPECT_EQ(LoadedSheets().size(), 2u);
}

// However a sheet's texture reaches the renderer (a frame queued with the
// texture itself, a tile list's texture), it is drawn as when the sheet was
// asked for before the frame: the render turn loads it before it is used.
TEST_F(SheetLoadingTest, ASheetNobodyAskedForIsDrawnAsOneLoadedAhead) {
    const std::string name = PictureAwayFromWhite();
    ASSERT_FALSE(name.empty());
    struct Case {
        const char* what;
        void (*queue)(Buffer&, const Texture&);
    } cases[] = {
        {"a frame showing the texture",
         [](Buffer& b, const Texture& t) { b.AddFrame(0, 0, 0, 1, 1, 0, t.texture, t.u, t.v, t.du, t.dv, -1); }},
        {"a tile list's texture",
         [](Buffer& b, const Texture& t) {
             b.tileTechnique[3] = "TechniqueTilePara2D";
             b.tileTexture[3] = t.texture;
             b.AddTile(3, 0, 0, 0, 1, 1, 0, t.texture, t.u, t.v, t.du, t.dv, -1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> frames[2];
        for (int ahead = 1; ahead >= 0; --ahead) {
            // Fresh tables: nothing up, nothing asked for but "white".
            engine->LoadTextures();
            const Texture* shown = TextureStringMap.at(name);
            const int sheet = shown->sheet;
            if (ahead) {
                MarkSheetWanted(sheet);
                engine->LoadWanted();
                ASSERT_TRUE(SheetLoaded(sheet));
            }
            EXPECT_EQ(SheetWanted(sheet), ahead == 1);
            Buffer& b = Begin();
            c.queue(b, *shown);
            Finish(b);
            Draw();
            EXPECT_TRUE(SheetLoaded(sheet));
            frames[ahead] = pixels;
        }
        ASSERT_EQ(frames[0].size(), frames[1].size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < frames[0].size(); ++i) differing += frames[0][i] != frames[1][i];
        EXPECT_EQ(differing, 0u);
        int lit = 0;
        for (std::size_t i = 0; i < frames[0].size(); i += 4)
            lit += frames[0][i] + frames[0][i + 1] + frames[0][i + 2] > 30;
        EXPECT_GT(lit, 64) << "something of the sheet shows";
    }
}

// A sheet that goes up tells its pictures which part of them can show
// anything: every pixel outside that part is wholly transparent and each of
// its edges touches a pixel that is not; a wholly transparent picture shows
// nothing. Sheets not up yet know nothing.
TEST_F(SheetLoadingTest, PicturesKnowTheirVisiblePartOnceTheirSheetIsUp) {
    const Texture* picture = TextureStringMap.at(PictureOnTheBusiestSheet());
    const int sheet = picture->sheet;
    for (const auto& [name, t] : TextureStringMap) EXPECT_FALSE(t->visibleKnown) << name;
    Buffer& b = Begin();
    b.AddFrame(0, 0, 0, 1, 1, 0, picture->texture, picture->u, picture->v, picture->du, picture->dv, -1);
    Finish(b);
    Draw();
    ASSERT_TRUE(SheetLoaded(sheet));

    SheetImage image;
    ASSERT_TRUE(DecodeSpriteSheet(sheet, image));
    const float w = static_cast<float>(image.width), h = static_cast<float>(image.height);
    auto alpha = [&](int x, int y) {
        return image.rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + x) * 4 + 3];
    };
    int checked = 0;
    for (const auto& [name, t] : TextureStringMap) {
        SCOPED_TRACE(name);
        if (t->sheet != sheet) {
            EXPECT_EQ(t->visibleKnown, SheetLoaded(t->sheet));
            continue;
        }
        ASSERT_TRUE(t->visibleKnown);
        const int x0 = static_cast<int>(std::floor(t->u * w)), y0 = static_cast<int>(std::floor(t->v * h));
        const int x1 = std::min(image.width, static_cast<int>(std::ceil((t->u + t->du) * w)));
        const int y1 = std::min(image.height, static_cast<int>(std::ceil((t->v + t->dv) * h)));
        const int left = static_cast<int>(std::lround(t->visibleU0 * w));
        const int right = static_cast<int>(std::lround(t->visibleU1 * w));
        const int top = static_cast<int>(std::lround(t->visibleV0 * h));
        const int bottom = static_cast<int>(std::lround(t->visibleV1 * h));
        bool any = false, onLeft = false, onRight = false, onTop = false, onBottom = false;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                if (alpha(x, y) == 0) continue;
                any = true;
                ASSERT_TRUE(x >= left && x < right && y >= top && y < bottom) << x << "," << y;
                onLeft = onLeft || x == left;
                onRight = onRight || x == right - 1;
                onTop = onTop || y == top;
                onBottom = onBottom || y == bottom - 1;
            }
        if (any)
            EXPECT_TRUE(onLeft && onRight && onTop && onBottom);
        else
            EXPECT_TRUE(right <= left || bottom <= top);
        ++checked;
    }
    EXPECT_GT(checked, 1);

    // The sheet's own band of rows that can show anything, for tiled drawing.
    const GLTexture& texture = *SheetList[static_cast<std::size_t>(sheet)];
    int first = image.height, last = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (alpha(x, y) != 0) {
                first = std::min(first, y);
                last = y;
                break;
            }
    EXPECT_FLOAT_EQ(texture.visibleV0, static_cast<float>(first) / h);
    EXPECT_FLOAT_EQ(texture.visibleV1, static_cast<float>(last + 1) / h);
}

// A sheet taken off the device keeps its record (frames queued earlier still
// name it) and goes up again when it is next drawn.
TEST_F(SheetLoadingTest, ASheetTakenOffTheDeviceComesBackWhenDrawnAgain) {
    const Texture* picture = TextureStringMap.at(PictureAwayFromWhite());
    GLTexture* record = picture->texture;
    for (int round = 0; round < 2; ++round) {
        Buffer& b = Begin();
        b.AddFrame(0, 0, 0, 1, 1, 0, picture->texture, picture->u, picture->v, picture->du, picture->dv, -1);
        Finish(b);
        Draw();
        EXPECT_TRUE(SheetLoaded(picture->sheet)) << round;
        EXPECT_NE(record->name, 0u) << round;
        engine->FreeTextures();
        EXPECT_FALSE(SheetLoaded(picture->sheet));
        EXPECT_EQ(record->name, 0u);
        EXPECT_EQ(picture->texture, record);
    }
}

// A sheet's mip levels are made on the processor; every level is the one
// the driver's own generation makes, for a square picture and for one whose
// sides run down to a single texel at different levels.
TEST_F(GLTest, MipLevelsMadeOnTheProcessorAreTheDriversOwn) {
    for (const auto& [width, height] : {std::pair{16, 16}, std::pair{64, 4}, std::pair{2, 32}}) {
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width * height * 4));
        std::uint32_t seed = 12345u + static_cast<std::uint32_t>(width);
        for (std::uint8_t& v : rgba) {
            seed = seed * 1664525u + 1013904223u;
            v = static_cast<std::uint8_t>(seed >> 24);
        }
        GLTexture* ours = GraphicsEngine::CreateTexture(width, height, rgba.data(), true);
        ASSERT_NE(ours, nullptr);
        GLuint drivers = 0;
        glGenTextures(1, &drivers);
        glBindTexture(GL_TEXTURE_2D, drivers);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glGenerateMipmap(GL_TEXTURE_2D);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        int level = 0;
        for (int w = width, h = height; w >= 1 && h >= 1; ++level, w = std::max(1, w / 2), h = std::max(1, h / 2)) {
            std::vector<std::uint8_t> mine(static_cast<std::size_t>(w * h * 4)), theirs(mine.size());
            glBindTexture(GL_TEXTURE_2D, ours->name);
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, mine.data());
            glBindTexture(GL_TEXTURE_2D, drivers);
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, theirs.data());
            EXPECT_EQ(mine, theirs) << width << "x" << height << " level " << level;
            if (w == 1 && h == 1) break;
        }
        EXPECT_EQ(
            level,
            std::max(std::bit_width(static_cast<unsigned>(width)), std::bit_width(static_cast<unsigned>(height))) - 1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &drivers);
        ReleaseGLTexture(ours);
    }
}

}  // namespace
