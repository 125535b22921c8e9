// The fade's panel drawn through the real renderer with the baked sheets, read
// back as pixels: nothing while idle, the right part of the window while a
// fade out starts, the whole window once it is done, wherever the camera is.
// The panel takes its colours from the tiled texture "whiteFade" (white at
// the top, a pale violet at the bottom), the same as the loading screen
// between levels; its own picture gives only its outline.
#include <gtest/gtest.h>

#include "support/SheetRenderWorld.h"

#include <cstdint>

#include "objects/Camera.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/Texture.h"
#include "screens/Transition.h"

using namespace objtest;

namespace {

class TransitionPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        ObjectData::Transition::ResetHooks();  // the real panel drawing
        // The camera away from the origin and zoomed out: the panel must
        // still sit on the window.
        cx = 37.0f;
        cy = 11.0f;
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {cx, cy, 0.0f};
        view.scale = scale;
        fade = Make("Transition", "Transit");
    }
    void TearDown() override {
        ObjectData::Transition::ResetHooks();
        SheetRenderWorld::TearDown();
    }

    // A frame: the whole view plain red, then the panel's drawing pass.
    void DrawFrame() {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        buffer->AddFrame(cx, cy, 0.0f, 4.0f * kAspect * scale, 4.0f * scale, 0.0f, FrameMap("", 0, 0),
                         static_cast<int>(0xFFFF0000u));
        fade->DoEvent("GraphicsDraw");
        EndFrame(buffer);
    }
    struct Rgb {
        int r, g, b;
    };
    // The pixel at a fraction of the window's width and height (0, 0 top left).
    Rgb At(float fx, float fy) const {
        const int px = static_cast<int>(fx * (kWidth - 1)), py = static_cast<int>(fy * (kHeight - 1));
        const std::size_t i = static_cast<std::size_t>((py * kWidth + px) * 4);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    static bool Red(const Rgb& c) { return c.r > 200 && c.g < 30 && c.b < 30; }
    static bool Pale(const Rgb& c) { return c.r > 200 && c.g > 200 && c.b > 200; }
    // How many pixels still show the red scene.
    int RedPixels() const {
        int red = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            red += Red({pixels[i], pixels[i + 1], pixels[i + 2]}) ? 1 : 0;
        return red;
    }
    ObjectData::Transition::Variables& F() { return VariablesOf<ObjectData::Transition::Variables>(fade); }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) fade->DoEvent("Behavior");
    }

    Object* camera = nullptr;
    Object* fade = nullptr;
};

TEST_F(TransitionPixelTest, AnIdlePanelDrawsNothing) {
    ASSERT_EQ(F().counter, 0);
    DrawFrame();
    EXPECT_EQ(RedPixels(), kWidth * kHeight) << "the idle panel covered part of the window";
}

TEST_F(TransitionPixelTest, AFadeOutSlidesInFromTheRightAndEndsCoveringTheWholeWindow) {
    fade->DoEvent("StartFadingOut");
    Steps(3);  // counter -4: the panel's left edge at 0.7333 of the width
    ASSERT_EQ(F().counter, -4);
    DrawFrame();
    for (float fy : {0.02f, 0.5f, 0.98f}) {
        SCOPED_TRACE(fy);
        EXPECT_TRUE(Red(At(0.02f, fy))) << "the left of the window is no longer shown";
        EXPECT_TRUE(Red(At(0.70f, fy)));
        EXPECT_TRUE(Pale(At(0.77f, fy))) << "the panel's edge is not where the count puts it";
        EXPECT_TRUE(Pale(At(0.99f, fy)));
    }

    Steps(40);  // past the end: it stays at -30
    ASSERT_EQ(F().counter, -30);
    DrawFrame();
    EXPECT_EQ(RedPixels(), 0) << "the finished fade out leaves part of the window uncovered";
    const Rgb top = At(0.5f, 0.0f), bottom = At(0.5f, 1.0f);
    EXPECT_TRUE(Pale(top) && Pale(bottom));
    EXPECT_GT(top.g, 245) << "white at the top";
    EXPECT_GT(bottom.b, bottom.g + 10) << "a pale violet at the bottom";

    // A fade in from there slides the panel away to the left.
    fade->DoEvent("StartFadingIn");
    Steps(29);
    ASSERT_EQ(F().counter, 30);
    DrawFrame();
    EXPECT_EQ(RedPixels(), kWidth * kHeight) << "the finished fade in still covers part of the window";
}

}  // namespace
