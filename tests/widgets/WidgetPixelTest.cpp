// The widgets drawn through the real renderer with the baked sheets, read
// back as pixels: a captioned button plain and hovered, and a tooltip's box
// and text beside the pointer.
#include <gtest/gtest.h>

#include "objects/SheetRenderWorld.h"

#include "widgets/Button.h"
#include "widgets/Cursor.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

using namespace objtest;

namespace {

class WidgetPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        // A screen's view: the camera at the origin, one unit high.
        scale = 1.0f;
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
    }
    struct Rgb {
        int r, g, b;
    };
    // The pixel at game point (x, y) of the 640 by 360 view.
    Rgb At(float x, float y) const {
        const int px = static_cast<int>((x / kAspect + 0.5f) * (kWidth - 1));
        const int py = static_cast<int>((0.5f - y) * (kHeight - 1));
        const std::size_t i = static_cast<std::size_t>((py * kWidth + px) * 4);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    // Pixels within a game-unit box that pass a test.
    template <class Test>
    int Count(float left, float top, float right, float bottom, Test test) const {
        int n = 0;
        for (float y = bottom; y <= top; y += 1.0f / kHeight)
            for (float x = left; x <= right; x += 1.0f / kHeight) n += test(At(x, y)) ? 1 : 0;
        return n;
    }
    static bool Black(const Rgb& c) { return c.r < 12 && c.g < 12 && c.b < 12; }
    static bool Red(const Rgb& c) { return c.r > 150 && c.g < 90 && c.b < 90; }
    static bool NightBlue(const Rgb& c) { return c.b > c.r + 20 && c.b > 40; }

    Object* camera = nullptr;
};

TEST_F(WidgetPixelTest, ACaptionedButtonShowsItsColouredCaptionAndGrowsWhenHovered) {
    Object* b = Make("TextButton");
    auto& v = VariablesOf<ObjectData::TextButton::Variables>(b);
    v.position = {0.0f, 0.0f, 0.0f};
    v.size = {0.6f, 0.15f};
    v.texture = "buttonNormal";
    ObjectData::Text::Find(v.textObj)->text = "#0xFF2020#PLAY";

    for (bool hover : {false, true}) {
        SCOPED_TRACE(hover);
        v.hover = hover;
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        b->DoEvent("GraphicsDraw");
        EndFrame(buffer);
        EXPECT_GT(Count(-0.28f, 0.07f, 0.28f, -0.07f, Red), 30) << "no red caption over the button";
        EXPECT_GT(Count(-0.28f, 0.07f, 0.28f, -0.07f, NightBlue), 300) << "no button behind the caption";
        EXPECT_TRUE(Black(At(0.0f, 0.2f))) << "drawn outside the button";
        // Just outside the plain button's right edge: covered only when hovered.
        EXPECT_EQ(NightBlue(At(0.315f, 0.0f)), hover);
    }
}

TEST_F(WidgetPixelTest, ATooltipShowsItsStripsAndTextBesideThePointer) {
    Object* cursor = Make("Cursor", "Cursor");
    auto& c = VariablesOf<ObjectData::Cursor::Variables>(cursor);
    c.position = {-0.4f, 0.3f, 10000.0f};
    c.visible = false;
    Object* b = Make("Button");
    auto& v = VariablesOf<ObjectData::Button::Variables>(b);
    v.toolTip = "Two lines\nof help";

    Buffer* buffer = BeginFrame(camera);
    ASSERT_NE(buffer, nullptr);
    Widgets::RaiseOwn(b, "Hover", nullptr);
    EndFrame(buffer);
    // The box starts 0.05 right of and below the pointer: three strips for
    // two lines, 0.1 high, pale night-blue with dark letters in it.
    auto pale = [](const Rgb& p) { return p.b > 200 && p.r > 150 && p.b > p.r; };
    auto dark = [](const Rgb& p) { return p.r < 90 && p.g < 90 && p.b < 120; };
    EXPECT_TRUE(Black(At(-0.36f, 0.27f))) << "the box reaches up to the pointer";
    EXPECT_TRUE(pale(At(-0.3f, 0.245f))) << "no top strip";
    EXPECT_TRUE(pale(At(-0.2f, 0.19f))) << "no middle strip";
    EXPECT_TRUE(pale(At(-0.2f, 0.158f))) << "no bottom strip";
    EXPECT_TRUE(Black(At(-0.3f, 0.13f))) << "the box is taller than its lines";
    EXPECT_GT(Count(-0.34f, 0.24f, -0.2f, 0.16f, dark), 20) << "no letters in the box";
}

}  // namespace
