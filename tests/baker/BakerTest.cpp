// The baker run on picture sources made here: its sheets keep the loader's
// rules, its plan matches what it bakes, bad sources fail with their place,
// its icons are one picture at every size, and its check lists the pictures
// the code lacks.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

namespace fs = std::filesystem;

namespace {

const std::string kBaker = std::string(GF_BINARY_DIR) + "/tools/baker/gf_baker";
const char* const kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kScriptFont = "/usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf";

struct ToolRun {
    int status;
    std::string out;
};

ToolRun Execute(const std::string& command) {
    ToolRun r{-1, ""};
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::vector<unsigned char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BakerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kBaker) || !fs::exists(kDefaultFont) || !fs::exists(kScriptFont))
            GTEST_SKIP() << "no baker or fonts";
        char tmpl[] = "/tmp/gf-baker-XXXXXX";
        root = mkdtemp(tmpl);
        fs::create_directories(root / "pictures");
    }
    void TearDown() override {
        FreeSheetData();
        if (!root.empty()) fs::remove_all(root);
    }
    void Source(const std::string& name, const std::string& text) { std::ofstream(root / "pictures" / name) << text; }
    ToolRun Bake(int sheetSize) {
        return Execute(kBaker + " bake --pictures " + (root / "pictures").string() + " --sheet-size " +
                       std::to_string(sheetSize) + " --font-default " + kDefaultFont + " --font-script " + kScriptFont +
                       " --out " + (root / "out").string());
    }
    ToolRun Plan(int sheetSize) {
        return Execute(kBaker + " plan --pictures " + (root / "pictures").string() + " --sheet-size " +
                       std::to_string(sheetSize));
    }
    SheetImage Sheet(int i) {
        SheetImage image;
        const std::vector<unsigned char> png = ReadFile(root / "out" / ("sheet_" + std::to_string(i) + ".png"));
        EXPECT_TRUE(DecodeSheetImage(png.data(), png.size(), image)) << i;
        return image;
    }
    fs::path root;
};

TEST_F(BakerTest, SheetsKeepTheLoadersRules) {
    std::string many;
    for (int i = 0; i < 5; ++i) many += "picture dot" + std::to_string(i) + " 30 30\n  circle 15 15 12 glow=#ffffff\n";
    Source("a.pic",
           many +
               "picture wide 1100 40\n  rect 0 0 1100 40 grad=#ff0000,#0000ff\n"
               "picture solo 100 100 alone\n  star 50 50 45 20 5 fill=#ffee88\n"
               "tiled sky 96 54\n  rect 0 0 96 54 fill=#102040\n"
               "picture spark 8 8 loop 2\nframe\n  circle 4 4 2\nframe\n  circle 4 4 3\nframe\n  circle 4 4 4\n");
    Source("b.pic", "picture white 4 4\n  rect 0 0 4 4\n");
    const ToolRun plan = Plan(64);
    ASSERT_EQ(plan.status, 0) << plan.out;
    const ToolRun bake = Bake(64);
    ASSERT_EQ(bake.status, 0) << bake.out;

    const int planned = std::atoi(plan.out.c_str());
    int written = 0;
    while (fs::exists(root / "out" / ("sheet_" + std::to_string(written) + ".png"))) ++written;
    EXPECT_EQ(written, planned);

    const std::vector<unsigned char> data = ReadFile(root / "out" / "sheetdata.bin");
    LoadSheetData(data.data(), data.size(), nullptr);
    EXPECT_EQ(Texture::sheetCount, planned);
    EXPECT_EQ(TextureList[0], TextureStringMap.at("white"));  // the default frame's picture

    std::map<int, int> perSheet;
    for (auto& [name, t] : TextureStringMap) ++perSheet[t->sheet];
    for (auto& [name, t] : TextureStringMap) {
        SCOPED_TRACE(name);
        const SheetImage image = Sheet(t->sheet);
        EXPECT_FLOAT_EQ(t->texelU, 1.0f / static_cast<float>(image.width));
        EXPECT_FLOAT_EQ(t->texelV, 1.0f / static_cast<float>(image.height));
        if (t->u == 0.0f) {
            EXPECT_EQ(perSheet[t->sheet], 1);
        } else {
            EXPECT_EQ(image.width, 64);
            EXPECT_EQ(image.height, 64);
        }
    }
    EXPECT_EQ(TextureStringMap.at("wide")->u, 0.0f);
    EXPECT_EQ(Sheet(TextureStringMap.at("wide")->sheet).width, 2048);
    EXPECT_EQ(Sheet(TextureStringMap.at("solo")->sheet).width, 128);

    const AnimationSet& spark = *AnimationSetMap.at("spark");
    EXPECT_EQ(spark.framesPerAnimation, 3);
    EXPECT_EQ(spark.loopLength, 2);
    EXPECT_EQ(TextureStringMap.count("spark 2"), 1u);

    ASSERT_EQ(TiledSheetMap.count("sky"), 1u);
    const SheetImage sky = Sheet(TiledSheetMap.at("sky"));
    EXPECT_EQ(sky.width, 96);
    EXPECT_EQ(sky.height, 54);
    for (auto& [name, t] : TextureStringMap) EXPECT_LT(t->sheet, TiledSheetMap.at("sky")) << name;
    EXPECT_EQ(FontMap.at("ashleyscriptmtstd").sheet, planned - 2);
    EXPECT_EQ(FontMap.at("default").sheet, planned - 1);
}

TEST_F(BakerTest, BadSourcesFailWithTheirPlace) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"picture a 8 8\n  blob 1 2 3\n", "bad.pic:2: unknown shape 'blob'"},
        {"picture a 8 8\n  circle 4 4 x\n", "bad.pic:2: bad number 'x'"},
        {"picture a 8 8\n  circle 4 4 2 fill=#12345\n", "bad.pic:2: bad colour '#12345'"},
        {"picture a 8 8\n  circle 4 4 2 sparkle=1\n", "bad.pic:2: unknown option 'sparkle'"},
        {"picture a 8 8\npicture a 8 8\n", "bad.pic:2: picture name 'a' used twice"},
        {"circle 4 4 2\n", "bad.pic:1: 'circle' before any picture"},
        {"picture a 0 8\n", "bad.pic:1: expected: picture NAME WIDTH HEIGHT"},
        {"picture a 8 8 loop 3\nframe\n circle 4 4 2\nframe\n circle 4 4 2\n",
         "loop of 'a' is longer than its animation"},
        {"picture a 8 8\nframe\n circle 1 1 1\nframe\n circle 1 1 1\nanimation\n circle 1 1 1\n",
         "every animation of 'a' needs the same number of frames"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Source("bad.pic", c.text);
        const ToolRun r = Bake(64);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    }
}

// The desktop's icons: one description drawn at every size, each shape
// where it lies in the description, scaled; a picture that cannot be an
// icon is refused by name.
TEST_F(BakerTest, IconsAreOnePictureDrawnAtEverySize) {
    Source("icon.pic",
           "picture badge 64 64\n  circle 32 32 20 fill=#ff0000\n  rect 4 4 8 8 fill=#00ff00\n"
           "picture flat 64 32\n  rect 0 0 64 32\n"
           "picture blink 16 16\nframe\n  circle 8 8 4\nframe\n  circle 8 8 6\n");
    auto icons = [&](const std::string& name, const std::string& sizes) {
        return Execute(kBaker + " icon --pictures " + (root / "pictures").string() + " --name " + name + " --sizes " +
                       sizes + " --out " + (root / "icons").string());
    };
    const ToolRun r = icons("badge", "32,128");
    ASSERT_EQ(r.status, 0) << r.out;
    for (int size : {32, 128}) {
        SCOPED_TRACE(size);
        const std::vector<unsigned char> png = ReadFile(root / "icons" / ("badge-" + std::to_string(size) + ".png"));
        SheetImage image;
        ASSERT_TRUE(DecodeSheetImage(png.data(), png.size(), image));
        ASSERT_EQ(image.width, size);
        ASSERT_EQ(image.height, size);
        // A place given in units of the 64-unit description.
        auto at = [&](float x, float y) {
            const int px = static_cast<int>(x * static_cast<float>(size) / 64.0f);
            const int py = static_cast<int>(y * static_cast<float>(size) / 64.0f);
            const unsigned char* p =
                &image.rgba[(static_cast<size_t>(py) * static_cast<size_t>(size) + static_cast<size_t>(px)) * 4];
            return std::vector<int>{p[0], p[1], p[2], p[3]};
        };
        EXPECT_EQ(at(32, 32), (std::vector<int>{255, 0, 0, 255}));  // the circle's centre
        EXPECT_EQ(at(46, 32), (std::vector<int>{255, 0, 0, 255}));  // inside its edge (radius 20)
        EXPECT_EQ(at(56, 32)[3], 0);                                // outside it
        EXPECT_EQ(at(8, 8), (std::vector<int>{0, 255, 0, 255}));    // the square
        EXPECT_EQ(at(60, 4)[3], 0);                                 // an empty corner
    }
    const struct {
        const char* name;
        const char* sizes;
        const char* message;
    } refused[] = {
        {"none", "64", "no picture called \"none\""},
        {"flat", "64", "the icon \"flat\" is not square"},
        {"blink", "64", "the icon \"blink\" has more than one frame"},
        {"badge", "64,x", "bad icon size 'x'"},
        {"badge", "8", "bad icon size '8'"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.message);
        const ToolRun bad = icons(c.name, c.sizes);
        EXPECT_NE(bad.status, 0);
        EXPECT_NE(bad.out.find(c.message), std::string::npos) << bad.out;
    }
}

TEST_F(BakerTest, CheckListsThePicturesTheCodeLacks) {
    Source("a.pic", "picture white 4 4\n  rect 0 0 4 4\npicture exit 4 4\n  rect 0 0 4 4\n");
    ASSERT_EQ(Bake(64).status, 0);
    fs::create_directories(root / "src" / "objects");
    std::ofstream(root / "src" / "objects" / "Thing.cpp")
        << "void Draw() {\n"
           "    AddFrame(FrameMap(\"white\", 0, 0));\n"
           "    counter.SetAnimationSet(\"firefly\");\n"
           "    FrameMap(\"exit\", 0, 0); TiledTexMap[\"moon\"];\n"
           "    FrameMap(name, 0, 0);\n"
           "    v.hoverTexture = \"glow\"; v.texture = \"exit\"; s.font = \"default\";\n"
           "}\n";
    const ToolRun r =
        Execute(kBaker + " check " + (root / "out" / "picture_names.txt").string() + " " + (root / "src").string());
    EXPECT_EQ(r.status, 0);  // a warning, not a failure
    EXPECT_NE(r.out.find("no picture \"firefly\" (asked for at objects/Thing.cpp:3)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no tiled texture \"moon\" (asked for at objects/Thing.cpp:4)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no picture \"glow\" (asked for at objects/Thing.cpp:6)"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\"white\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\"default\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\"exit\""), std::string::npos) << r.out;
}

}  // namespace
