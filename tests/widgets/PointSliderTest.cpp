// The number picker bound to its owner's integer, worked through the real
// input layer.
#include <gtest/gtest.h>

#include "support/WidgetWorld.h"
#include "widgets/PointSlider.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"

using namespace widgettest;

namespace {

class PointSliderTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        cursor = Make("Cursor", "Cursor");
    }
    static Widgets::ScrollBar::Variables& Bar(Object* slider) { return *Widgets::ScrollBar::Find(slider); }
    Object* cursor = nullptr;
};

TEST_F(PointSliderTest, APointSliderHasATickANumberAndWritesItsIntegerBack) {
    static std::int32_t points = 0;
    points = 14;  // above max: clamped and written back
    Object* p = Make("PointSlider");
    auto& v = *ObjectData::PointSlider::Find(p);
    v.position = {0.1f, 0.0f, 0.0f};
    v.name = "Goal";
    v.min = 0.0f;
    v.max = 10.0f;
    v.pValue = &points;
    p->DoEvent("Init");
    auto& bar = Bar(v.slider);
    EXPECT_EQ(bar.ticks, 11);
    Frame();
    EXPECT_EQ(points, 10);
    EXPECT_EQ(ObjectData::Text::Find(v.textbox)->text, "10");
    // The left arrow takes one off, a click on the plate left of the thumb three.
    const float h = v.size.x * 0.5f - v.size.y * 0.5f;
    Click(v.position.x - h, 0.0f);
    EXPECT_EQ(points, 9);
    Click(v.position.x - 0.1f, 0.0f);
    EXPECT_EQ(points, 6);
    EXPECT_EQ(ObjectData::Text::Find(v.textbox)->text, "6");
}

}  // namespace
