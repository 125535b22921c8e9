#include <gtest/gtest.h>

#include <cstring>

#include "ObjectWorld.h"
#include "objects/Background.h"
#include "objects/ColorizedBox.h"
#include "objects/Graphic.h"

using namespace objtest;

namespace {

class PlainTypesTest : public ObjectWorld {
protected:
    std::vector<Quad> DrawAll() {
        Recorded().quads.clear();
        Frame();
        return Recorded().quads;
    }
};

TEST_F(PlainTypesTest, EveryTypeIsRegisteredWithItsVariablesAndEngines) {
    struct Row {
        const char* type;
        std::vector<int> variables;
        std::vector<const char*> engines;
    };
    const Row rows[] = {
        {"Graphic", {enum_position, enum_size, enum_texture}, {"GraphicsDraw"}},
        {"CameraGraphic", {enum_position, enum_size, enum_texture}, {"GraphicsDraw"}},
        {"Background", {enum_texture, enum_color, enum_z}, {"Behavior", "GraphicsUpdate", "GraphicsDraw"}},
        {"ColorizedBox",
         {enum_position, enum_size, enum_texture, enum_red, enum_green, enum_blue, enum_alpha},
         {"GraphicsDraw"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        Object* prototype = Object::_FindPrototype(row.type);
        ASSERT_NE(prototype, nullptr);
        EXPECT_EQ(prototype->GetType(), row.type);
        int present = 0;
        for (int n = 0; n < MAX_ENUM_VALUE; ++n) present += HasVariable(prototype, n) ? 1 : 0;
        EXPECT_EQ(present, static_cast<int>(row.variables.size()));
        for (int n : row.variables) EXPECT_TRUE(HasVariable(prototype, n)) << n;
        Object* copy = Make(row.type, "copy");
        ASSERT_NE(copy, nullptr);
        for (const char* engine : row.engines) {
            auto* e = static_cast<Engine*>(copy->GetMyEngine(engine));
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(e->IsMember(copy)) << engine;
        }
        EXPECT_EQ(copy->GetEngines().size(), row.engines.size());
    }
}

TEST_F(PlainTypesTest, UnchangedGraphicsDrawAtTheirDefaults) {
    Make("Graphic");
    Object* camera = Make("CameraGraphic");
    Make("Background");
    Make("ColorizedBox");  // no texture yet: nothing drawn
    Recorded().cameraX = 3.0f;
    Recorded().cameraY = -2.0f;
    Recorded().r = 1.0f;
    Recorded().aspect = 1.5f;
    std::vector<Quad> quads = DrawAll();
    ASSERT_EQ(quads.size(), 3u);

    int graphics = 0;
    for (const Quad& q : quads) {
        if (q.background) {
            EXPECT_FLOAT_EQ(q.z, -10000.0f);
            EXPECT_FLOAT_EQ(q.x, 3.0f);
            EXPECT_FLOAT_EQ(q.y, -2.0f);
            EXPECT_FLOAT_EQ(q.width, 1.5f);
            EXPECT_FLOAT_EQ(q.height, 1.0f);
            EXPECT_EQ(q.colour, 0xFFFFFFFFu);
            EXPECT_EQ(q.texture, "");
        } else if (q.texture == "AreYouSure") {
            // One unit square at the camera's centre, depth 0.
            EXPECT_FLOAT_EQ(q.x, 3.0f);
            EXPECT_FLOAT_EQ(q.y, -2.0f);
            EXPECT_FLOAT_EQ(q.z, 0.0f);
            EXPECT_FLOAT_EQ(q.width, 1.0f);
            EXPECT_FLOAT_EQ(q.height, 1.0f);
            EXPECT_EQ(q.colour, 0xFFFFFFFFu);
            ++graphics;
        } else {
            EXPECT_FLOAT_EQ(q.width, 0.0f);
            EXPECT_FLOAT_EQ(q.height, 0.0f);
            ++graphics;
        }
    }
    EXPECT_EQ(graphics, 2);
    // The copy shares the prototype's texture text; it never copies it.
    EXPECT_EQ(Variable<const char*>(camera, enum_texture),
              Variable<const char*>(Object::_FindPrototype("CameraGraphic"), enum_texture));
}

TEST_F(PlainTypesTest, ScreenFixedSpritesScaleWithTheCameraAndKeepTheirScreenPlace) {
    Object* g = Make("Graphic");
    Variable<D3DXVECTOR3>(g, enum_position) = {0.25f, -0.1f, 7.0f};
    Variable<D3DXVECTOR2>(g, enum_size) = {0.2f, 0.4f};
    Variable<const char*>(g, enum_texture) = "hud";
    struct View {
        float x, y, scale;
    };
    for (View view : {View{0.0f, 0.0f, 1.0f}, View{10.0f, 5.0f, 1.0f}, View{10.0f, 5.0f, 20.0f}}) {
        SCOPED_TRACE(view.scale);
        Recorded().cameraX = view.x;
        Recorded().cameraY = view.y;
        Recorded().r = 1.0f / view.scale;
        std::vector<Quad> quads = DrawAll();
        ASSERT_EQ(quads.size(), 1u);
        const Quad& q = quads[0];
        // Relative to the camera, in view heights: the same whatever the camera.
        EXPECT_NEAR((q.x - view.x) / view.scale, 0.25f, 1e-5f);
        EXPECT_NEAR((q.y - view.y) / view.scale, -0.1f, 1e-5f);
        EXPECT_FLOAT_EQ(q.width / view.scale, 0.2f);
        EXPECT_FLOAT_EQ(q.height / view.scale, 0.4f);
        EXPECT_FLOAT_EQ(q.z, 7.0f);
        EXPECT_FLOAT_EQ(q.rotation, 0.0f);
        EXPECT_EQ(q.texture, "hud");
    }
}

TEST_F(PlainTypesTest, BackdropFillsTheViewBehindItsDepth) {
    Object* b = Make("Background");
    Variable<float>(b, enum_z) = 25.0f;
    Variable<std::uint32_t>(b, enum_color) = 0x80112233u;
    Recorded().r = 0.5f;  // a view two units high
    Recorded().aspect = 16.0f / 9.0f;
    std::vector<Quad> quads = DrawAll();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_TRUE(quads[0].background);
    EXPECT_FLOAT_EQ(quads[0].z, 25.0f - 10000.0f);
    EXPECT_FLOAT_EQ(quads[0].width, 2.0f * 16.0f / 9.0f);
    EXPECT_FLOAT_EQ(quads[0].height, 2.0f);
    EXPECT_EQ(quads[0].colour, 0x80112233u);
}

TEST_F(PlainTypesTest, TintedBoxPacksItsColourAndDrawsInWorldCoordinates) {
    Object* box = Make("ColorizedBox");
    auto& v = VariablesOf<ObjectData::ColorizedBox::Variables>(box);
    // A box starts with an opaque white tint and no picture.
    EXPECT_EQ(v.texture, nullptr);
    EXPECT_EQ(v.red, 255);
    EXPECT_EQ(v.alpha, 255);
    v.texture = "white";
    v.position = {4.0f, 5.0f, 9.0f};
    v.size = {2.0f, 3.0f};
    struct Case {
        int red, green, blue, alpha;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {255, 255, 255, 255, 0xFFFFFFFFu},
        {1, 2, 3, 4, 0x04010203u},
        // Each channel keeps its low byte only.
        {0x1FF, -1, 256, 0x180, 0x80FFFF00u},
    };
    Recorded().cameraX = 100.0f;  // world coordinates: the camera does not move the box
    for (const Case& c : cases) {
        v.red = c.red;
        v.green = c.green;
        v.blue = c.blue;
        v.alpha = c.alpha;
        std::vector<Quad> quads = DrawAll();
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_EQ(quads[0].colour, c.colour);
        EXPECT_FLOAT_EQ(quads[0].x, 4.0f);
        EXPECT_FLOAT_EQ(quads[0].y, 5.0f);
        EXPECT_FLOAT_EQ(quads[0].z, 0.0f);
        EXPECT_FLOAT_EQ(quads[0].width, 2.0f);
        EXPECT_FLOAT_EQ(quads[0].height, 3.0f);
    }
}

TEST_F(PlainTypesTest, CopyTakesTheSourcesVariablesAndRaisesLoadOnce) {
    Object* g = Make("Graphic", "first");
    Variable<D3DXVECTOR3>(g, enum_position) = {1.0f, 2.0f, 3.0f};
    const char* text = "picture";
    Variable<const char*>(g, enum_texture) = text;
    int loads = 0;
    static int* counter = nullptr;
    counter = &loads;
    g->SetEvent("Load", Event::Handler([](Entity*, Entity*) { ++*counter; }));
    Object* copy = g->Copy("second");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(Variable<D3DXVECTOR3>(copy, enum_position), (D3DXVECTOR3{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(Variable<const char*>(copy, enum_texture), text);
    counter = nullptr;
}

}  // namespace
