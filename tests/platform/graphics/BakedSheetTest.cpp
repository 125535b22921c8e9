// The sheet data and sheets the baker made for this build, loaded as the
// renderer loads them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "framework/Resources.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

namespace {

class BakedSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadSheetData([](int, const SheetImage&, GLTexture&) { return true; });
        SetWhiteFrame();
        for (int sheet = 0; sheet < Texture::sheetCount; ++sheet)
            ASSERT_TRUE(DecodeSpriteSheet(sheet, images[sheet])) << sheet;
    }
    void TearDown() override { FreeSheetData(); }
    std::map<int, SheetImage> images;
};

TEST_F(BakedSheetTest, HoldsThePicturesOfTheWindowsAndTheFrameLoop) {
    for (const char* name : {"white", "exit", "minimize", "Profiler White", "default", "ashleyscriptmtstd"}) {
        EXPECT_EQ(AnimationSetMap.count(name), 1u) << name;
    }
    EXPECT_EQ(TextureStringMap.at("white"), TextureList[0]);  // a default frame shows white
    ASSERT_EQ(FontMap.size(), 2u);
    EXPECT_GT(FontMap.at("default").width['W'], FontMap.at("default").width['i']);
    EXPECT_EQ(FontMap.at("default").width[' '] > 0.0f, true);
}

TEST_F(BakedSheetTest, SheetsKeepTheLoadersRules) {
    ASSERT_EQ(static_cast<int>(images.size()), Texture::sheetCount);
    std::map<int, std::set<const Texture*>> onSheet;
    for (auto& [name, t] : TextureStringMap) onSheet[t->sheet].insert(t);
    for (auto& [name, t] : TextureStringMap) {
        SCOPED_TRACE(name);
        ASSERT_NE(t->texture, nullptr);
        EXPECT_EQ(t->texture, SheetList.at(static_cast<size_t>(t->sheet)));
        const SheetImage& image = images.at(t->sheet);
        // The sheet's record has its size from the image's header before
        // any pixel is decoded.
        EXPECT_EQ(t->texture->sheet, t->sheet);
        EXPECT_EQ(t->texture->width, image.width);
        EXPECT_EQ(t->texture->height, image.height);
        // The sampled size is the sheet's real size: a picture at x = 0 is
        // alone on a sheet of its power of two, others share full-size sheets.
        EXPECT_FLOAT_EQ(t->texelU, 1.0f / static_cast<float>(image.width));
        EXPECT_FLOAT_EQ(t->texelV, 1.0f / static_cast<float>(image.height));
        if (t->u == 0.0f) {
            EXPECT_EQ(onSheet[t->sheet].size(), 1u);
        } else {
            EXPECT_EQ(image.width, Texture::sheetWidth);
            EXPECT_EQ(image.height, Texture::sheetHeight);
        }
        EXPECT_LE(t->u + t->du, 1.0f);
        EXPECT_LE(t->v + t->dv, 1.0f);
    }
    // Fonts are the last two sheets, the script face first.
    const FontInfo& script = FontMap.at("ashleyscriptmtstd");
    const FontInfo& def = FontMap.at("default");
    EXPECT_EQ(script.sheet, Texture::sheetCount - 2);
    EXPECT_EQ(def.sheet, Texture::sheetCount - 1);
    for (int s : {script.sheet, def.sheet}) {
        EXPECT_EQ(images.at(s).width, 512);
        EXPECT_EQ(images.at(s).height, 512);
    }
    // Tiled textures are whole sheets of their own.
    for (auto& [name, sheet] : TiledSheetMap) EXPECT_EQ(onSheet.count(sheet), 0u) << name;
}

TEST_F(BakedSheetTest, WhiteIsOpaqueWhite) {
    const Texture* t = FrameTexture(Frame::white);
    ASSERT_NE(t, nullptr);
    const SheetImage& image = images.at(t->sheet);
    const int x0 = static_cast<int>(t->u * static_cast<float>(image.width) + 0.5f);
    const int y0 = static_cast<int>(t->v * static_cast<float>(image.height) + 0.5f);
    const int w = static_cast<int>(t->du * static_cast<float>(image.width) + 0.5f);
    const int h = static_cast<int>(t->dv * static_cast<float>(image.height) + 0.5f);
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            const unsigned char* p =
                &image.rgba[(static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4];
            ASSERT_EQ(p[0] & p[1] & p[2] & p[3], 255) << x << "," << y;
        }
    }
}

TEST(StartupBitmaps, AreThreePicturesOfTheStartupWindowsSize) {
    for (unsigned short id = 102; id <= 104; ++id) {
        unsigned long size = 0;
        const void* bytes = LoadInternalResource(id, &size);
        SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_EQ(s->w, 400);
        EXPECT_EQ(s->h, 300);
        SDL_FreeSurface(s);
    }
}

}  // namespace
