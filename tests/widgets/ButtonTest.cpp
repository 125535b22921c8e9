// The buttons worked with the pointer through the real input layer: a click,
// a button of no area, the mouse-only button's pictures, and the tooltip.
#include <gtest/gtest.h>

#include "support/WidgetWorld.h"
#include "widgets/Button.h"
#include "widgets/Cursor.h"
#include "widgets/TabManager.h"
#include "widgets/TextButton.h"
#include "widgets/newButton.h"

using namespace widgettest;

namespace {

int& Logics() {
    static int n = 0;
    return n;
}
int& Hovers() {
    static int n = 0;
    return n;
}
void CountLogic(Entity*, Entity*) { ++Logics(); }
void CountHover(Entity*, Entity*) { ++Hovers(); }

class ButtonTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        Logics() = Hovers() = 0;
        cursor = Make("Cursor", "Cursor");
    }
    template <class V>
    static V& Vars(Entity* e) {
        return VariablesOf<V>(e);
    }
    Object* cursor = nullptr;
};

TEST_F(ButtonTest, AClickRaisesLogicOnceWithOneClickWhileTheButtonStaysDown) {
    Object* b = Make("TextButton");
    auto& v = Vars<ObjectData::TextButton::Variables>(b);
    v.position = {0.3f, -0.1f, 0.0f};
    v.size = {0.4f, 0.15f};
    Entity* master = state->level;
    v.master = master;
    static Entity* seenMaster = nullptr;
    seenMaster = nullptr;
    b->SetEvent(
        "Logic", +[](Entity*, Entity* other) {
            ++Logics();
            seenMaster = other;
        });
    b->SetEvent("Hover", &CountHover);

    PointAt(0.35f, -0.12f);
    Frame();
    EXPECT_TRUE(v.hover);
    EXPECT_EQ(Hovers(), 1);
    LeftButton(true);
    Frame();
    EXPECT_TRUE(v.triggered);
    EXPECT_EQ(Logics(), 1);
    EXPECT_EQ(seenMaster, master) << "\"Logic\" goes with the button's master";
    EXPECT_EQ(Clicks(), 1);
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(Logics(), 1) << "a held button pressed again";
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(v.triggered);
    EXPECT_TRUE(v.hover);
    LeftButton(false);
    PointAt(-0.5f, 0.4f);
    Frame();
    EXPECT_EQ(Logics(), 1) << "the let-go";
    // The let-go's frame has the pointer where it was let go, the next one
    // where it moved to.
    Frame();
    EXPECT_FALSE(v.hover);
}

TEST_F(ButtonTest, AButtonOfNoAreaIsNeverHit) {
    for (const char* type : {"TextButton", "Button", "newButton"}) {
        SCOPED_TRACE(type);
        Object* b = Make(type);
        b->SetEvent("Logic", &CountLogic);
        PointAt(0.0f, 0.0f);  // exactly on the button's centre
        Frame();
        LeftButton(true);
        Frame();
        LeftButton(false);
        Frame();
        EXPECT_FALSE(Variable<bool>(b, enum_hover));
        EXPECT_EQ(Logics(), 0);
        b->_Delete();
        Frame();
    }
}

TEST_F(ButtonTest, NewButtonShowsSelectedOnItsClickFrameAndNormalOnceThePointerLeaves) {
    Object* b = Make("newButton");
    auto& v = Vars<ObjectData::newButton::Variables>(b);
    v.size = {0.3f, 0.1f};
    b->SetEvent("Logic", &CountLogic);
    Frame();
    EXPECT_STREQ(v.texture, "buttonNormal");
    PointAt(0.05f, 0.0f);
    Frame();
    EXPECT_STREQ(v.texture, "buttonSelected");
    LeftButton(true);
    Frame();
    EXPECT_EQ(Logics(), 1);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_STREQ(v.texture, "buttonSelected");
    PointAt(0.5f, 0.3f);
    Frame();
    EXPECT_STREQ(v.texture, "buttonNormal");
    EXPECT_EQ(ObjectData::TabManager::Find(state->level->GetMyObject("TabManager")), nullptr)
        << "the mouse-only button enrolled for focus";
}

TEST_F(ButtonTest, AButtonWithAnEmptyToolTipShowsNothing) {
    Object* b = Make("Button");
    auto& v = Vars<ObjectData::Button::Variables>(b);
    v.size = {0.3f, 0.1f};
    PointAt(0.0f, 0.0f);
    Frame();
    // A hovered frame makes no tooltip text while the tip is empty ...
    int made = Object::_nextID;
    Frame();
    ASSERT_TRUE(v.hover);
    EXPECT_EQ(Object::_nextID, made);
    // ... and one, gone by the frame's end, while it has words.
    v.toolTip = "Opens a level";
    made = Object::_nextID;
    Frame();
    EXPECT_EQ(Object::_nextID, made + 1);
}

// The box stays inside the right edge (half the aspect, 0.889) and the
// bottom edge (-0.5) of the window wherever the pointer is.
TEST(ToolTipPlace, TheBoxStaysInsideTheRightAndBottomEdges) {
    const float aspect = 1280.0f / 720.0f, right = aspect / 2.0f;
    struct Case {
        float px, py;
        float left, top;  // expected
    };
    // Two lines 5 letters wide at 0.04: a box 0.22 by 0.10.
    const Case cases[] = {
        {0.0f, 0.0f, 0.05f, -0.05f},            // room on both sides
        {0.8f, 0.0f, right - 0.22f, -0.05f},    // near the right edge
        {0.0f, -0.45f, 0.05f, -0.4f},           // near the bottom
        {0.88f, -0.49f, right - 0.22f, -0.4f},  // the bottom-right corner
        {-0.88f, 0.49f, -0.83f, 0.44f},         // the top-left corner: as placed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.px << "," << c.py);
        const auto box = ObjectData::Button::PlaceToolTip(c.px, c.py, 2, 5.0f, 0.04f, aspect);
        EXPECT_NEAR(box.width, 0.22f, 1e-5f);
        EXPECT_NEAR(box.height, 0.10f, 1e-5f);
        EXPECT_NEAR(box.left, c.left, 1e-5f);
        EXPECT_NEAR(box.top, c.top, 1e-5f);
        EXPECT_LE(box.left + box.width, right + 1e-5f);
        EXPECT_GE(box.top - box.height, -0.5f - 1e-5f);
    }
}

}  // namespace
