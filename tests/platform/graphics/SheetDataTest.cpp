#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/Resources.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/FrameCounter.h"
#include "platform/graphics/GLTexture.h"
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

// How many sheet images the program carries.
int BakedSheetCount() {
    int count = 0;
    while (HasInternalResource(static_cast<unsigned short>(kFirstSheetResource + count))) ++count;
    return count;
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

// A sheet is only decoded when first wanted: one the device will not take
// fails then, after fifty tries; one whose image is missing fails as the
// sheet data is read, as it cannot even be sized.
TEST_F(SheetDataTest, SheetThatWillNotLoadIsTriedFiftyTimes) {
    FakeClock clock;
    FatalCapture capture;
    SheetDataBuilder b;
    b.Header(64, 64, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(0).Int(0).Int(0).Int(512).Int(512).Int(0);
    int tries = 0;
    LoadSheetData(b.bytes.data(), b.bytes.size(), [&tries](int, const SheetImage&, GLTexture&) {
        ++tries;
        return false;
    });
    EXPECT_EQ(tries, 0);
    EXPECT_TRUE(FakeClock::sleeps.empty());
    try {
        LoadSheet(0);
        FAIL() << "no fatal error";
    } catch (const FatalExit& e) {
        EXPECT_EQ(e.text, "A texture failed to load properly.");
        EXPECT_EQ(e.caption, "Glimmerfall");
    }
    EXPECT_EQ(tries, 50);
    EXPECT_EQ(FakeClock::sleeps, std::vector<std::uint32_t>(49, 10));
    FreeSheetData();

    // One sheet more than the program carries images for.
    SheetDataBuilder missing;
    missing.Header(64, 64, BakedSheetCount() + 1, 0).Int(0).Int(0).Int(0).Int(512).Int(512).Int(0);
    try {
        LoadSheetData(missing.bytes.data(), missing.bytes.size(),
                      [](int, const SheetImage&, GLTexture&) { return true; });
        FAIL() << "no fatal error";
    } catch (const FatalExit& e) {
        EXPECT_EQ(e.text, "A texture failed to load properly.");
    }
}

// Tables over the program's own sheet images that put pictures only on its
// four smallest sheets: "a", "b" and "c" on the first three, the tiled "sky"
// the fourth; nothing else is decoded unless asked for.
struct SmallSheets {
    std::vector<int> sheets;  // the four smallest, smallest first
    std::vector<unsigned char> bytes;
};

SmallSheets SmallSheetData() {
    SmallSheets s;
    const int count = BakedSheetCount();
    std::vector<std::pair<long, int>> bySize;
    for (int i = 0; i < count; ++i) {
        unsigned long size = 0;
        const void* png = LoadInternalResource(static_cast<unsigned short>(kFirstSheetResource + i), &size);
        int w = 0, h = 0;
        if (SheetImageSize(png, size, w, h)) bySize.emplace_back(static_cast<long>(w) * h, i);
    }
    std::sort(bySize.begin(), bySize.end());
    for (std::size_t k = 0; k < 4 && k < bySize.size(); ++k) s.sheets.push_back(bySize[k].second);
    if (s.sheets.size() < 4) return s;
    SheetDataBuilder b;
    b.Header(2048, 2048, count, 3);
    b.TextureRecord("a", s.sheets[0], 2, 2, 16, 16);
    b.TextureRecord("b", s.sheets[1], 2, 2, 16, 16);
    b.TextureRecord("c", s.sheets[2], 2, 2, 16, 16);
    b.Int(3).Set("a", 1, 1, 1, 0).Set("b", 1, 1, 1, 1).Set("c", 1, 1, 1, 2);
    b.Int(1).Int(s.sheets[3]).Name("sky");
    b.Int(512).Int(512).Int(0);
    s.bytes = b.bytes;
    return s;
}

// Reading the tables decodes no sheet. A sheet is asked for when a frame on
// it is looked up by name, when a frame kept from earlier is queued, or when
// its tiled texture is found by name; the render thread's turn then uploads
// exactly those, each once, into the record the tables already point at.
TEST_F(SheetDataTest, OnlySheetsAskedForAreDecodedEachOnce) {
    const SmallSheets data = SmallSheetData();
    ASSERT_EQ(data.sheets.size(), 4u);
    std::vector<int> uploads;
    bool recordsRight = true;
    const SheetUploader upload = [&](int sheet, const SheetImage& image, GLTexture& texture) {
        uploads.push_back(sheet);
        recordsRight = recordsRight && texture.sheet == sheet && texture.pending && texture.name == 0 &&
                       texture.width == image.width && texture.height == image.height;
        return true;
    };
    LoadSheetData(data.bytes.data(), data.bytes.size(), upload);
    for (int i = 0; i < Texture::sheetCount; ++i) {
        EXPECT_FALSE(SheetWanted(i)) << i;
        ASSERT_NE(SheetList[static_cast<size_t>(i)], nullptr) << "every sheet has its record at once";
    }
    EXPECT_EQ(TextureStringMap.at("a")->texture, SheetList[static_cast<size_t>(data.sheets[0])]);
    const Frame kept = AnimationSetMap.at("c")->animations[0][0];  // a frame held without a look-up
    EXPECT_FALSE(SheetWanted(data.sheets[2]));

    FrameMap("a", 0, 0);
    FrameMap("nothing", 0, 0);
    EXPECT_NE(FindTiledTexture("sky"), nullptr);
    Buffer buffer;
    buffer.AddFrame(0, 0, 0, 1, 1, 0, kept, -1);
    EXPECT_TRUE(SheetWanted(data.sheets[0]));
    EXPECT_FALSE(SheetWanted(data.sheets[1]));
    EXPECT_TRUE(SheetWanted(data.sheets[2]));
    EXPECT_TRUE(SheetWanted(data.sheets[3]));
    EXPECT_TRUE(uploads.empty());

    EXPECT_EQ(LoadWantedSheets(), 3);
    std::sort(uploads.begin(), uploads.end());
    std::vector<int> expected = {data.sheets[0], data.sheets[2], data.sheets[3]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(uploads, expected);
    EXPECT_TRUE(recordsRight);
    EXPECT_FALSE(SheetLoaded(data.sheets[1]));
    EXPECT_TRUE(SheetLoaded(data.sheets[3]));
    EXPECT_EQ(LoadWantedSheets(), 0);
    EXPECT_EQ(uploads.size(), 3u);

    // A sheet first met while drawing is loaded then, once.
    LoadSheet(data.sheets[1]);
    LoadSheet(data.sheets[1]);
    EXPECT_EQ(uploads.size(), 4u);
    EXPECT_TRUE(SheetLoaded(data.sheets[1]));

    // New tables start with nothing asked for and nothing up.
    LoadSheetData(data.bytes.data(), data.bytes.size(), upload);
    for (int i = 0; i < Texture::sheetCount; ++i) {
        EXPECT_FALSE(SheetWanted(i)) << i;
        EXPECT_FALSE(SheetLoaded(i)) << i;
    }
}

// The game thread asks for sheets while the render thread loads them: every
// sheet asked for is loaded, and nothing is shared unguarded (the tables the
// game thread reads are not written while sheets go up).
TEST_F(SheetDataTest, SheetsAskedForFromAnotherThreadAreLoaded) {
    const SmallSheets data = SmallSheetData();
    ASSERT_EQ(data.sheets.size(), 4u);
    std::atomic<int> uploads{0};
    LoadSheetData(data.bytes.data(), data.bytes.size(), [&uploads](int, const SheetImage&, GLTexture&) {
        ++uploads;
        return true;
    });
    std::atomic<bool> asked{false};
    std::thread game([&] {
        for (const char* set : {"a", "b", "c"}) {
            const Frame& frame = FrameMap(set, 0, 0);
            EXPECT_EQ(FrameTexture(frame)->sheet, TextureStringMap.at(set)->sheet);
        }
        FindTiledTexture("sky");
        asked.store(true);
    });
    int loaded = 0;
    for (int turn = 0; turn < 100000 && loaded < 4; ++turn) {
        const bool done = asked.load();
        loaded += LoadWantedSheets();
        if (done) break;
        std::this_thread::yield();
    }
    game.join();
    loaded += LoadWantedSheets();
    EXPECT_EQ(loaded, 4);
    EXPECT_EQ(uploads.load(), 4);
    for (int sheet : data.sheets) EXPECT_TRUE(SheetLoaded(sheet)) << sheet;
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
