#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Resources.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/FrameCounter.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"
#include "support/FakeClock.h"
#include "support/FatalCapture.h"
#include "support/SheetDataBuilder.h"

namespace {

// Two shared sheets, a lone sheet, one tiled sheet and two font sheets.
SheetDataBuilder GoodData() {
    SheetDataBuilder b;
    b.Header(2048, 2048, 6, 4);
    b.TextureRecord("white", 0, 2, 2, 16, 16);
    b.TextureRecord("spikes", 0, 20, 2, 64, 32);
    b.TextureRecord("spikes 1", 1, 100, 200, 64, 32);
    b.TextureRecord("BACK Sandbox", 2, 0, 0, 1280, 736);
    b.Int(3);
    b.Set("white", 1, 1, 1, 0);
    b.Set("spikes", 2, 1, 2, 1);
    b.Set("BACK Sandbox", 1, 1, 1, 3);
    b.Int(1).Int(3).Name("moon");
    b.Int(512).Int(512).Int(2);
    b.Font("ashleyscriptmtstd", 4);
    b.Font("default", 5);
    return b;
}

class SheetDataTest : public ::testing::Test {
protected:
    void TearDown() override { FreeSheetData(); }
    void Load(const std::vector<unsigned char>& bytes) { LoadSheetData(bytes.data(), bytes.size(), nullptr); }
};

TEST_F(SheetDataTest, LoadsEveryTableAndEndsExactly) {
    Load(GoodData().bytes);
    EXPECT_EQ(Texture::sheetWidth, 2048);
    EXPECT_EQ(Texture::sheetCount, 6);
    ASSERT_EQ(TextureList.size(), 4u + 2 * 128);  // records, then a letter per character per font
    EXPECT_EQ(AnimationSetMap.size(), 3u + 2);
    EXPECT_EQ(FontMap.size(), 2u);
    ASSERT_EQ(TiledSheetMap.count("moon"), 1u);
    EXPECT_EQ(TiledSheetMap["moon"], 3);

    const Texture& spikes = *TextureStringMap.at("spikes");
    EXPECT_FLOAT_EQ(spikes.u, 20.0f / 2048);
    EXPECT_FLOAT_EQ(spikes.v, 2.0f / 2048);
    EXPECT_FLOAT_EQ(spikes.du, 64.0f / 2048);
    EXPECT_FLOAT_EQ(spikes.dv, 32.0f / 2048);
    EXPECT_FLOAT_EQ(spikes.texelU, 1.0f / 2048);

    const AnimationSet& set = *AnimationSetMap.at("spikes");
    EXPECT_EQ(set.loopLength, 2);
    EXPECT_EQ(set.framesPerAnimation, 2);
    EXPECT_EQ(FrameMap("spikes", 0, 1).texture, 2);
}

TEST_F(SheetDataTest, PictureAtLeftEdgeIsSampledAtItsPowerOfTwo) {
    Load(GoodData().bytes);
    const Texture& back = *TextureStringMap.at("BACK Sandbox");
    EXPECT_FLOAT_EQ(back.texelU, 1.0f / 2048);
    EXPECT_FLOAT_EQ(back.texelV, 1.0f / 1024);
    EXPECT_FLOAT_EQ(back.du, 1280.0f / 2048);
    EXPECT_FLOAT_EQ(back.dv, 736.0f / 1024);
}

TEST_F(SheetDataTest, FontTablesAreInLetterUnits) {
    Load(GoodData().bytes);
    const FontInfo& f = FontMap.at("default");
    EXPECT_EQ(f.sheet, 5);
    EXPECT_FLOAT_EQ(f.width['A'], static_cast<float>(2 + 'A' % 5) / 16);
    EXPECT_FLOAT_EQ(f.width[10], 0.0f);
    EXPECT_FLOAT_EQ(f.maxWidth, 6.0f / 16);
    EXPECT_FLOAT_EQ(f.fixedWidth['i'], f.maxWidth);
    // The letter's frame shows a texture on the font sheet with the read rectangle.
    const Texture* a = FrameTexture(FrameMap("default", 'A', 0));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->sheet, 5);
    EXPECT_FLOAT_EQ(a->u, 'A' * 4.0f / 512);
    EXPECT_FLOAT_EQ(a->dv, 16.0f / 512);
    EXPECT_FLOAT_EQ(a->texelU, 1.0f / 512);
}

TEST_F(SheetDataTest, UnknownSetsAndIndicesGiveWhite) {
    Load(GoodData().bytes);
    EXPECT_EQ(&FrameMap("nothing", 0, 0), &Frame::white);
    EXPECT_EQ(&FrameMap("spikes", 1, 0), &Frame::white);
    EXPECT_EQ(&FrameMap("spikes", 0, 2), &Frame::white);
    EXPECT_EQ(&FrameMap("spikes", 0, -1), &Frame::white);
    Frame::white.texture = 3;
    SetWhiteFrame();
    EXPECT_EQ(Frame::white.texture, 0);
}

TEST_F(SheetDataTest, SheetThatWillNotLoadIsTriedFiftyTimes) {
    FakeClock clock;
    FatalCapture capture;
    SheetDataBuilder b;
    b.Header(64, 64, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(0).Int(0).Int(0).Int(512).Int(512).Int(0);
    try {
        LoadSheetData(b.bytes.data(), b.bytes.size(), [](int, const SheetImage&) -> GLTexture* { return nullptr; });
        FAIL() << "no fatal error";
    } catch (const FatalExit& e) {
        EXPECT_EQ(e.text, "A texture failed to load properly.");
        EXPECT_EQ(e.caption, "Glimmerfall");
    }
    EXPECT_EQ(FakeClock::sleeps, std::vector<std::uint32_t>(49, 10));
}

struct Corruption {
    const char* what;
    std::vector<unsigned char> bytes;
    const char* text;
    const char* caption;
};

std::vector<Corruption> Corruptions() {
    std::vector<Corruption> cases;
    const std::vector<unsigned char> good = GoodData().bytes;
    const std::string invalid = "Texture data is invalid!";
    for (size_t cut : {size_t{0}, size_t{3}, size_t{17}, size_t{60}, good.size() / 2, good.size() - 1}) {
        cases.push_back({"truncated", std::vector<unsigned char>(good.begin(), good.begin() + static_cast<long>(cut)),
                         "Texture data is invalid!", "Glimmerfall"});
    }
    std::vector<unsigned char> trailing = good;
    trailing.push_back(0);
    cases.push_back({"trailing byte", trailing, "Texture data is invalid!", "Glimmerfall"});

    auto withSets = [](auto sets) {
        SheetDataBuilder b;
        b.Header(256, 256, 1, 2).TextureRecord("a", 0, 2, 2, 4, 4).TextureRecord("b", 0, 8, 2, 4, 4);
        sets(b);
        b.Int(0).Int(0).Int(512).Int(512).Int(0);
        return b.bytes;
    };
    cases.push_back({"duplicate set",
                     withSets([](SheetDataBuilder& b) { b.Int(2).Set("a", 1, 1, 1, 0).Set("a", 1, 1, 1, 1); }),
                     "Animation data is invalid!", "Glimmerfall"});
    cases.push_back({"loop length 0", withSets([](SheetDataBuilder& b) { b.Int(1).Set("a", 0, 1, 1, 0); }),
                     "Animation data is invalid!", "Glimmerfall"});
    cases.push_back({"no animations", withSets([](SheetDataBuilder& b) { b.Int(1).Set("a", 1, 0, 1, 0); }),
                     "Animation data is invalid!", "Glimmerfall"});
    cases.push_back({"loop longer than the animation",
                     withSets([](SheetDataBuilder& b) { b.Int(1).Set("a", 3, 1, 2, 0); }), "Animation data is invalid!",
                     "Glimmerfall"});
    cases.push_back({"frame shows no texture record",
                     withSets([](SheetDataBuilder& b) { b.Int(1).Set("a", 1, 1, 1, 2); }), "Animation data is invalid!",
                     "Glimmerfall"});
    cases.push_back({"two sprites in a frame", withSets([](SheetDataBuilder& b) {
                         b.Int(1).Name("twin").Int(1).Int(1).Int(1).FrameRecord(0, 2);
                     }),
                     "Somehow, a frame has multiple sprites!  Noooooo!\nOh, the name is twin", "Sprite load failure!"});
    cases.push_back({"huge frame count",
                     withSets([](SheetDataBuilder& b) { b.Int(1).Name("big").Int(1).Int(0x7fffffff).Int(0x7fffffff); }),
                     "Texture data is invalid!", "Glimmerfall"});
    {
        SheetDataBuilder b;
        b.Header(256, 256, 2, 1).TextureRecord("a", 0, 2, 2, 4, 4).Int(1).Set("default", 1, 1, 1, 0);
        b.Int(0).Int(0).Int(512).Int(512).Int(1).Font("default", 1);
        cases.push_back({"font named like an animation set", b.bytes,
                         "There is a font with the same name as a texture!\nName:  default", "Font load error"});
    }
    {
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("a", 3, 2, 2, 4, 4).Int(0).Int(0).Int(0).Int(512).Int(512).Int(0);
        cases.push_back({"texture on a sheet that does not exist", b.bytes, "Texture data is invalid!", "Glimmerfall"});
    }
    {
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("a", 0, 0, 0, 1e30f, 4).Int(0).Int(0).Int(0).Int(512).Int(512).Int(0);
        cases.push_back({"absurd picture size", b.bytes, "Texture data is invalid!", "Glimmerfall"});
    }
    {
        SheetDataBuilder b;
        b.Header(256, 256, 1, 0).Int(0).Int(2).Int(0).Name("moon").Name("grass").Int(512).Int(512).Int(0);
        cases.push_back({"tiled texture past the last sheet", b.bytes, "Texture data is invalid!", "Glimmerfall"});
    }
    {
        SheetDataBuilder b;
        b.Header(0, 256, 1, 0).Int(0).Int(0).Int(0).Int(512).Int(512).Int(0);
        cases.push_back({"zero sheet width", b.bytes, "Texture data is invalid!", "Glimmerfall"});
    }
    {
        SheetDataBuilder b;
        b.Header(256, 256, 1, 0).Int(0).Int(0).Int(0).Int(512).Int(512).Int(-1);
        cases.push_back({"negative font count", b.bytes, "Texture data is invalid!", "Glimmerfall"});
    }
    return cases;
}

TEST_F(SheetDataTest, CorruptedDataEndsWithTheLoadersMessages) {
    FatalCapture capture;
    for (const Corruption& c : Corruptions()) {
        SCOPED_TRACE(c.what);
        try {
            Load(c.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const FatalExit& e) {
            EXPECT_EQ(e.text, c.text);
            EXPECT_EQ(e.caption, c.caption);
            EXPECT_NE(e.status, 0);
        }
        FreeSheetData();
    }
}

class FrameCounterTest : public SheetDataTest {
protected:
    void SetUp() override { Load(GoodData().bytes); }
};

TEST_F(FrameCounterTest, UpdateCyclesAndWrapsSeveralTimes) {
    FrameCounter fc;
    fc.SetAnimationSet("spikes");
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        seen.push_back(fc.GetFrame().texture);
        fc.Update(1.0f);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 1, 2}));
    fc.SetFrame(0.5f);
    fc.Update(7.0f);  // 7.5 wraps three times
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 1.5f);
    fc.Update(1e9f);  // far past the end still lands inside
    EXPECT_GE(fc.GetFrameNum(), 0.0f);
    EXPECT_LT(fc.GetFrameNum(), 2.0f);
}

TEST_F(FrameCounterTest, ShortLoopRepeatsOnlyTheLastFrames) {
    SheetDataBuilder b;
    b.Header(256, 256, 1, 3);
    for (int i = 0; i < 3; ++i) b.TextureRecord("f" + std::to_string(i), 0, 2 + 8 * i, 2, 4, 4);
    b.Int(1).Set("intro", 1, 1, 3, 0).Int(0).Int(0).Int(512).Int(512).Int(0);
    Load(b.bytes);
    FrameCounter fc;
    fc.SetAnimationSet("intro");
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) {
        seen.push_back(fc.GetFrame().texture);
        fc.Update(1.0f);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 2, 2, 2}));
}

TEST_F(FrameCounterTest, SetAndSwapKeepOrReset) {
    FrameCounter fc;
    fc.SetAnimationSet("spikes");
    fc.SetFrame(1.0f);
    fc.SetAnimationSet("spikes");
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 1.0f);
    fc.SwapAnimationSet("white");
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 1.0f);
    EXPECT_EQ(fc.GetAnimationSet(), "white");
    fc.SetAnimationSet("spikes");
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 0.0f);
    fc.SetFrame(1.0f);
    fc.SetAnimation(0);
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 1.0f);
    fc.SetAnimation(1);
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 0.0f);
    EXPECT_EQ(&fc.GetFrame(), &Frame::white);  // animation 1 does not exist
    fc.ResetAnimation();
    EXPECT_EQ(fc.GetAnimation(), 0);
}

TEST_F(FrameCounterTest, UnknownSetKeepsTheFrame) {
    FrameCounter fc;
    fc.SetAnimationSet("nothing");
    fc.Update(5.5f);
    EXPECT_FLOAT_EQ(fc.GetFrameNum(), 5.5f);
    EXPECT_EQ(&fc.GetFrame(), &Frame::white);
}

}  // namespace
