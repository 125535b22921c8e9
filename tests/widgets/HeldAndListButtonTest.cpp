// The held-repeat arrow and the list row, worked with the pointer through
// the real input layer.
#include <gtest/gtest.h>

#include <vector>

#include "support/WidgetWorld.h"
#include "widgets/Button.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"

using namespace widgettest;

namespace {

int& Logics() {
    static int n = 0;
    return n;
}

class HeldAndListButtonTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        Logics() = 0;
        cursor = Make("Cursor", "Cursor");
    }
    Object* cursor = nullptr;
};

TEST_F(HeldAndListButtonTest, HoldingAnArrowRepeatsAfterThirtyFramesThenEveryFive) {
    Object* arrow = Make("HeldButton");
    auto& a = VariablesOf<ObjectData::Button::Variables>(arrow);
    a.size = {0.1f, 0.1f};
    arrow->SetEvent(
        "Logic", +[](Entity*, Entity*) { ++Logics(); });
    PointAt(0.0f, 0.0f);
    LeftButton(true);
    std::vector<int> fired;
    for (int frame = 1; frame <= 41; ++frame) {
        const int before = Logics();
        Frame();
        if (Logics() != before) fired.push_back(frame);
    }
    EXPECT_EQ(fired, (std::vector<int>{1, 30, 35, 40}));
    EXPECT_TRUE(a.pressed);
    LeftButton(false);
    Frame();
    EXPECT_FALSE(a.pressed);
    // A press begun elsewhere and held onto the arrow never repeats.
    PointAt(0.5f, 0.0f);
    LeftButton(true);
    Frame();
    PointAt(0.0f, 0.0f);
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_EQ(Logics(), 4);
}

TEST_F(HeldAndListButtonTest, AListRowDrawsOnlyItsRedCaptionAndHandsItsClickToItsList) {
    Object* row = Make("ListButton");
    ASSERT_NE(row, nullptr);
    auto& r = VariablesOf<ObjectData::TextButton::Variables>(row);
    const TextSettings& caption = ObjectData::Text::Find(r.textObj)->settings;
    EXPECT_EQ(caption.hAlign, 0);
    EXPECT_EQ(caption.primaryColor, 0xFFFF0000u);
    EXPECT_FALSE(caption.colorize);
    r.position = {0.1f, 0.1f, 0.0f};
    r.size = {0.4f, 0.06f};
    static Entity* seenSelf = nullptr;
    static Entity* seenOther = nullptr;
    Object* list = Make("PosSizeDummy");
    list->SetEvent(
        "Logic", +[](Entity* self, Entity* other) {
            seenSelf = self;
            seenOther = other;
        });
    r.master = list;
    Click(0.1f, 0.1f);
    EXPECT_EQ(seenSelf, list);
    EXPECT_EQ(seenOther, row);
    // Hovered, its caption grows by a tenth over the row.
    PointAt(0.1f, 0.1f);
    Frame();
    row->DoEvent("GraphicsDraw");
    EXPECT_FLOAT_EQ(caption.height, 0.066f);
    EXPECT_FLOAT_EQ(caption.x, 0.1f);
    EXPECT_FLOAT_EQ(caption.z, 10.0f);
}

}  // namespace
