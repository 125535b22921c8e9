// The widgets drawn through the real renderer with the baked sheets, read
// back as pixels: a captioned button plain and hovered, a tooltip's box and
// text beside the pointer, a text box's caret and its selection in their two
// colours, and each scroll bar's plate, arrows and thumb at the place its
// value gives.
#include <gtest/gtest.h>

#include "support/PixelFrame.h"
#include "support/SheetRenderWorld.h"

#include "widgets/Button.h"
#include "widgets/Cursor.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/TextEditing.h"
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
    using Rgb = testsupport::Rgb;
    testsupport::PixelFrame Frame() const { return {pixels, kWidth, kHeight}; }
    Rgb At(float x, float y) const { return Frame().At(x, y); }
    void Draw(Object* o) {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        o->DoEvent("GraphicsDraw");
        EndFrame(buffer);
    }
    static bool Black(const Rgb& c) { return c.r < 12 && c.g < 12 && c.b < 12; }
    static bool Red(const Rgb& c) { return c.r > 150 && c.g < 90 && c.b < 90; }
    static bool NightBlue(const Rgb& c) { return c.b > c.r + 20 && c.b > 40; }
    static bool Dark(const Rgb& c) { return c.r < 40 && c.g < 40 && c.b < 40; }
    static bool Gold(const Rgb& c) { return c.r > 180 && c.g > 130 && c.b < 150; }
    static bool Pale(const Rgb& c) { return c.b > 190 && c.r > 120 && c.b > c.r; }
    static bool Groove(const Rgb& c) { return c.b > c.r + 15 && c.r < 70 && c.b > 30; }
    // The view's window, 360 pixels high, while it lives (the caret is 3 pixels wide).
    struct ViewArea {
        static GameArea Area() { return GameArea{0, 0, kWidth, kHeight, kAspect, kHeight}; }
        ViewArea() : saved(GraphicsEngine::currentGameArea) { GraphicsEngine::currentGameArea = &Area; }
        ~ViewArea() { GraphicsEngine::currentGameArea = saved; }
        ViewArea(const ViewArea&) = delete;
        ViewArea& operator=(const ViewArea&) = delete;
        GameArea (*saved)();
    };

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
        EXPECT_GT(Frame().Count(-0.28f, 0.07f, 0.28f, -0.07f, Red), 30) << "no red caption over the button";
        EXPECT_GT(Frame().Count(-0.28f, 0.07f, 0.28f, -0.07f, NightBlue), 300) << "no button behind the caption";
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
    EXPECT_GT(Frame().Count(-0.34f, 0.24f, -0.2f, 0.16f, dark), 20) << "no letters in the box";
}

TEST_F(WidgetPixelTest, ATextBoxShowsItsCaretAndItsSelectionInTwoColours) {
    ViewArea area;
    Object* box = Make("SingleLineTextBox");
    auto& v = *ObjectData::SingleLineTextBox::Find(box);
    v.position = {0.0f, 0.2f, 0.0f};
    v.size = {0.8f, 0.1f};
    auto& t = *ObjectData::Text::Find(v.textObject);
    t.text = "abcdef";
    TextSettings& s = t.settings;
    s.x = v.position.x;
    s.y = v.position.y;
    s.width = v.size.x;
    s.height = v.size.y;
    s.charHeight = v.size.y * 0.9f;
    s.selectedStart = 1;
    s.cursorLoc = 3;
    Widgets::RaiseOwn(v.textObject, "CalcText", box);
    Widgets::TextEditing::PlaceCaret(t, v.cursor);
    v.selected = true;
    Draw(box);

    auto blue = [](const Rgb& c) { return c.b > 150 && c.r < 60 && c.g < 60; };
    auto white = [](const Rgb& c) { return c.r > 230 && c.g > 230 && c.b > 230; };
    EXPECT_GT(Frame().Count(-0.4f, 0.25f, 0.4f, 0.15f, blue), 200) << "no selection behind b and c";
    EXPECT_GT(Frame().Count(-0.4f, 0.25f, 0.4f, 0.15f, white), 2000) << "no white box";
    EXPECT_EQ(Frame().Count(v.cursor.x + 0.005f, 0.25f, 0.4f, 0.15f, blue), 0)
        << "the selection goes on past the caret";
    // The caret: a dark bar through the whole letter height at its place.
    // Rows of the letter height with a dark pixel within 1.5 pixels of it:
    const int rows = static_cast<int>(0.08f * kHeight);
    auto caretRows = [&] {
        int dark = 0;
        for (int row = 0; row < rows; ++row) {
            const float y = 0.16f + static_cast<float>(row) / kHeight;
            bool any = false;
            for (float x = v.cursor.x - 1.5f / kHeight; x <= v.cursor.x + 1.5f / kHeight; x += 0.5f / kHeight)
                any = any || Dark(At(x, y));
            dark += any ? 1 : 0;
        }
        return dark;
    };
    EXPECT_GE(caretRows(), rows - 1) << "no caret at " << v.cursor.x;
    EXPECT_TRUE(Black(At(0.0f, 0.3f))) << "drawn outside the box";

    // Without the focus no caret is drawn.
    v.selected = false;
    Draw(box);
    EXPECT_LT(caretRows(), rows / 2);
}

TEST_F(WidgetPixelTest, BarsShowPlateArrowsAndThumbWhereTheirValueSays) {
    // Vertical: min at the top, so a quarter of the range sits above the middle.
    Object* vertical = Make("VSlider");
    auto& v = *Widgets::ScrollBar::Find(vertical);
    v.position = {0.5f, 0.0f, 0.0f};
    v.size = {0.06f, 0.6f};
    v.value = 25.0f;
    vertical->DoEvent("UpdatePosition");
    Draw(vertical);
    const float thumbY = -0.21f + 0.42f * 0.75f;
    EXPECT_TRUE(Gold(At(0.512f, thumbY + 0.012f))) << "no thumb";
    EXPECT_FALSE(Gold(At(0.512f, -thumbY + 0.012f)));
    EXPECT_TRUE(Pale(At(0.52f, 0.29f))) << "no top arrow";
    EXPECT_TRUE(Pale(At(0.52f, -0.25f))) << "no bottom arrow";
    EXPECT_TRUE(Groove(At(0.5f, -0.12f))) << "no plate";
    EXPECT_TRUE(Black(At(0.5f + 0.025f, -0.12f))) << "the plate is half as wide as the bar";
    EXPECT_TRUE(Black(At(0.5f, 0.34f))) << "drawn past the bar's end";

    Object* horizontal = Make("HSlider");
    auto& h = *Widgets::ScrollBar::Find(horizontal);
    h.position = {-0.3f, -0.3f, 0.0f};
    h.size = {0.6f, 0.06f};
    h.value = 75.0f;
    horizontal->DoEvent("UpdatePosition");
    Draw(horizontal);
    const float thumbX = -0.3f - 0.21f + 0.42f * 0.75f;
    EXPECT_TRUE(Gold(At(thumbX + 0.012f, -0.288f))) << "no thumb";
    EXPECT_FALSE(Gold(At(-0.6f - thumbX + 0.012f, -0.288f)));
    EXPECT_TRUE(Pale(At(-0.3f - 0.25f, -0.28f))) << "no left arrow";
    EXPECT_TRUE(Pale(At(-0.3f + 0.29f, -0.28f))) << "no right arrow";
    EXPECT_TRUE(Groove(At(-0.3f - 0.12f, -0.3f))) << "no plate";
}

}  // namespace
