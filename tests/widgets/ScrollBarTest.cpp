// The drag handles and the scroll bars, worked with the pointer through the
// real input layer.
#include <gtest/gtest.h>

#include <cmath>

#include "support/WidgetWorld.h"
#include "widgets/DragButton.h"
#include "widgets/ScrollBar.h"
#include "widgets/Slider.h"

using namespace widgettest;

namespace {

struct Counts {
    int start = 0, stop = 0, hover = 0;
};
Counts& Seen() {
    static Counts c;
    return c;
}

class ScrollBarTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        Seen() = Counts{};
        cursor = Make("Cursor", "Cursor");
    }
    // A bar of the given type placed at the origin, run for one frame.
    Widgets::ScrollBar::Variables& Bar(const char* type, D3DXVECTOR2 size) {
        bar = Make(type);
        Widgets::ScrollBar::Variables& v = *Widgets::ScrollBar::Find(bar);
        v.position = {0.0f, 0.0f, 0.0f};
        v.size = size;
        Frame();
        return v;
    }
    ObjectData::DragButton::Variables& Thumb() {
        return *ObjectData::DragButton::Find(Widgets::ScrollBar::Find(bar)->dragButton);
    }

    Object* cursor = nullptr;
    Object* bar = nullptr;
};

TEST_F(ScrollBarTest, ADragKeepsItsGrabOffsetSnapsItsAxesAndEndsOnRelease) {
    Object* handle = Make("DragButton");
    auto& d = *ObjectData::DragButton::Find(handle);
    d.size = {0.2f, 0.2f};
    handle->SetEvent(
        "StartDragging", +[](Entity*, Entity*) { ++Seen().start; });
    handle->SetEvent(
        "StopDragging", +[](Entity*, Entity*) { ++Seen().stop; });
    handle->SetEvent(
        "Hover", +[](Entity*, Entity*) { ++Seen().hover; });

    PointAt(0.05f, 0.05f);
    Frame();
    EXPECT_TRUE(d.hover);
    EXPECT_FALSE(d.triggered);
    LeftButton(true);
    Frame();
    EXPECT_TRUE(d.dragging);
    EXPECT_TRUE(d.triggered);
    EXPECT_FALSE(d.hover) << "hover and triggered in one frame";
    EXPECT_EQ(Seen().start, 1);
    // Off the handle and on: it follows with the offset of the grab.
    PointAt(0.45f, -0.3f);
    Frame();
    EXPECT_NEAR(d.position.x, 0.4f, 0.003f);
    EXPECT_NEAR(d.position.y, -0.35f, 0.003f);
    EXPECT_FALSE(d.triggered);
    d.snapX = true;
    PointAt(0.3f, -0.2f);
    Frame();
    EXPECT_NEAR(d.position.x, 0.4f, 0.003f) << "snapX moved x";
    EXPECT_NEAR(d.position.y, -0.25f, 0.003f);
    d.snapY = true;
    PointAt(0.0f, 0.0f);
    Frame();
    EXPECT_NEAR(d.position.y, -0.25f, 0.003f) << "both snaps moved the handle";
    EXPECT_TRUE(d.dragging);
    // Released far from the handle: the drag ends in the next frame.
    LeftButton(false);
    EXPECT_EQ(Seen().stop, 0);
    Frame();
    EXPECT_FALSE(d.dragging);
    EXPECT_EQ(Seen().stop, 1);
    Frame();
    EXPECT_EQ(Seen().stop, 1);
}

TEST_F(ScrollBarTest, APressBegunOffTheHandleDoesNotGrabIt) {
    Object* handle = Make("DragButton");
    auto& d = *ObjectData::DragButton::Find(handle);
    d.size = {0.2f, 0.2f};
    PointAt(0.5f, 0.0f);
    LeftButton(true);
    Frame();
    PointAt(0.0f, 0.0f);
    Frame();
    EXPECT_FALSE(d.dragging);
    EXPECT_TRUE(d.hover);
    EXPECT_FALSE(d.triggered);
    EXPECT_NEAR(d.position.x, 0.0f, 1e-6f);
}

TEST_F(ScrollBarTest, ASliderCreepsTowardThePointerWithinItsLimits) {
    Object* s = Make("Slider");
    auto& v = VariablesOf<ObjectData::Slider::Variables>(s);
    v.size = {0.1f, 0.6f};
    PointAt(0.0f, 0.25f);
    LeftButton(true);
    Frame();
    EXPECT_NEAR(v.position.y, 0.03f, 1e-5f);
    for (int i = 0; i < 20; ++i) Frame();
    EXPECT_NEAR(v.position.y, 0.18f, 1e-5f) << "rose past its top";
    PointAt(0.0f, -0.1f);
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_NEAR(v.position.y, -0.06f, 0.031f) << "stops within 0.04 of the pointer";
    EXPECT_LT(std::fabs(v.position.y + 0.1f), 0.04f + 1e-4f);
}

TEST_F(ScrollBarTest, WithTheDefaultsAnArrowMovesTenAPlateClickThirtyADragSnapsToTens) {
    auto& v = Bar("VSlider", {0.05f, 0.6f});
    // Length 0.6: arrows at y ±0.275, the thumb's centre travels ±0.225.
    EXPECT_NEAR(v.dragExtent, 0.225f, 1e-5f);
    EXPECT_NEAR(Thumb().position.y, 0.225f, 1e-5f) << "min at the top";
    EXPECT_FLOAT_EQ(Thumb().size.x, Thumb().size.y) << "the thumb is square";

    Click(0.0f, -0.275f);  // the bottom arrow, toward max
    EXPECT_FLOAT_EQ(v.value, 10.0f);
    EXPECT_EQ(Clicks(), 1);
    Click(0.0f, 0.275f);
    EXPECT_FLOAT_EQ(v.value, 0.0f);
    Click(0.0f, -0.1f);  // the plate below the thumb
    EXPECT_FLOAT_EQ(v.value, 30.0f);
    Click(0.0f, 0.2f);  // above it
    EXPECT_FLOAT_EQ(v.value, 0.0f);

    // Grab the thumb a little off its centre and drag it 43% of the way.
    PointAt(0.01f, 0.23f);
    LeftButton(true);
    Frame();
    PointAt(0.01f, 0.23f - 0.45f * 0.43f);
    Frame();
    EXPECT_FLOAT_EQ(v.value, 40.0f);
    EXPECT_NEAR(Thumb().position.y, 0.225f - 0.45f * 0.4f, 1e-4f) << "the thumb stands at the snapped value";
    LeftButton(false);
    Frame();
    EXPECT_FLOAT_EQ(v.value, 40.0f);
}

TEST_F(ScrollBarTest, AHorizontalBarRunsFromMinAtTheLeft) {
    auto& v = Bar("HSlider", {0.6f, 0.05f});
    EXPECT_NEAR(Thumb().position.x, -0.225f, 1e-5f);
    Click(0.275f, 0.0f);
    EXPECT_FLOAT_EQ(v.value, 10.0f);
    Click(0.1f, 0.0f);
    EXPECT_FLOAT_EQ(v.value, 40.0f);
    EXPECT_NEAR(Thumb().position.x, -0.225f + 0.45f * 0.4f, 1e-4f);
}

TEST_F(ScrollBarTest, TicksZeroIsContinuousAndTicksOneFreezesTheBar) {
    auto& v = Bar("VSlider", {0.05f, 0.6f});
    v.ticks = 0;
    bar->DoEvent("UpdatePosition");
    Click(0.0f, -0.275f);
    EXPECT_FLOAT_EQ(v.value, 10.0f);
    Click(0.0f, -0.1f);
    EXPECT_FLOAT_EQ(v.value, 40.0f);
    // Dragging gives any value in between.
    PointAt(0.0f, Thumb().position.y);
    LeftButton(true);
    Frame();
    PointAt(0.0f, Thumb().position.y - 0.0333f);
    Frame();
    LeftButton(false);
    Frame();
    EXPECT_NEAR(v.value, 40.0f + 0.0333f / 0.45f * 100.0f, 0.5f);
    EXPECT_NE(std::fmod(v.value, 10.0f), 0.0f);

    v.ticks = 1;
    v.value = 0.0f;
    bar->DoEvent("UpdatePosition");
    EXPECT_EQ(Thumb().size.x, 0.0f);
    // The value is read from where the thumb was left; nothing moves it.
    Frame();
    const float before = v.value;
    Click(0.0f, -0.275f);
    Click(0.0f, -0.1f);
    EXPECT_FLOAT_EQ(v.value, before) << "a frozen bar moved";
}

TEST_F(ScrollBarTest, UpdatePositionClampsAndAValueWrittenWithoutItIsReplaced) {
    auto& v = Bar("VSlider", {0.05f, 0.6f});
    v.value = 250.0f;
    bar->DoEvent("UpdatePosition");
    EXPECT_FLOAT_EQ(v.value, 100.0f);
    EXPECT_NEAR(Thumb().position.y, -0.225f, 1e-5f);
    v.value = -5.0f;
    bar->DoEvent("UpdatePosition");
    EXPECT_FLOAT_EQ(v.value, 0.0f);
    v.value = 70.0f;  // no UpdatePosition: the thumb's place wins
    Frame();
    EXPECT_FLOAT_EQ(v.value, 0.0f);

    // A bar too short or too thin is made long enough to hold its parts.
    v.size = {0.0f, 0.01f};
    bar->DoEvent("UpdatePosition");
    EXPECT_FLOAT_EQ(v.size.x, 0.001f);
    EXPECT_FLOAT_EQ(v.size.y, 0.052f);
}

TEST_F(ScrollBarTest, AHeldPlatePagesOnceThenEveryFifthFrameFromTheThirtiethAndStopsUnderThePointer) {
    auto& v = Bar("VSlider", {0.05f, 0.6f});
    PointAt(0.0f, -0.2f);
    LeftButton(true);
    Frame();
    EXPECT_FLOAT_EQ(v.value, 30.0f);
    std::vector<int> paged;
    float last = v.value;
    for (int frame = 2; frame <= 60; ++frame) {
        Frame();
        if (v.value != last) paged.push_back(frame);
        last = v.value;
    }
    EXPECT_EQ(paged, (std::vector<int>{30, 35})) << "the thumb (now at 90) covers the pointer";
    EXPECT_FLOAT_EQ(v.value, 90.0f);
    // Above the thumb while still holding: the paging never turns round.
    PointAt(0.0f, 0.2f);
    for (int i = 0; i < 20; ++i) Frame();
    EXPECT_FLOAT_EQ(v.value, 90.0f);
    LeftButton(false);
    Frame();
    EXPECT_EQ(v.backTriggered, -1);
}

TEST_F(ScrollBarTest, ABarWithNoRangeOrNoTravelStaysFiniteAtMin) {
    struct Case {
        float min, max;
        D3DXVECTOR2 size;
        std::int32_t ticks;
    };
    const Case cases[] = {
        {0.0f, 0.0f, {0.05f, 0.6f}, 11},    // max equals min
        {5.0f, 2.0f, {0.05f, 0.6f}, 0},     // max below min, continuous
        {0.0f, 100.0f, {0.1f, 0.25f}, 11},  // no longer than three thicknesses
        {0.0f, 100.0f, {0.1f, 0.3f}, 0},    // exactly three
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.max);
        auto& v = Bar("VSlider", c.size);
        v.min = c.min;
        v.max = c.max;
        v.ticks = c.ticks;
        v.value = 50.0f;
        bar->DoEvent("UpdatePosition");
        EXPECT_FLOAT_EQ(v.value, c.min);
        EXPECT_EQ(Thumb().size.x, 0.0f) << "a thumb with nowhere to go";
        Click(0.0f, -v.size.y * 0.5f + 0.02f);
        Click(0.0f, 0.0f);
        for (int i = 0; i < 3; ++i) Frame();
        EXPECT_TRUE(std::isfinite(v.value));
        EXPECT_FLOAT_EQ(v.value, c.min);
        EXPECT_TRUE(std::isfinite(Thumb().position.y));
        bar->_Delete();
        Frame();
    }
}

TEST_F(ScrollBarTest, ThePlacedVariantsStandWhereTheirScreensExpectThem) {
    struct Case {
        const char* name;
        D3DXVECTOR3 position;
        D3DXVECTOR2 size;
        const char* type;
    };
    const Case cases[] = {
        {"sliderA", {0.05f, -0.09f, 0.0f}, {0.03f, 0.79f}, "VSlider"},
        {"sliderB", {0.15f, -0.09f, 0.0f}, {0.5f, 0.04f}, "HSlider"},
        {"gridSliderH", {0.2f, -0.275f, 0.0f}, {1.1f, 0.05f}, "HSlider"},
        {"gridSliderV", {0.77f, 0.1f, 0.0f}, {0.05f, 0.7f}, "VSlider"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Object* o = Make(c.name);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->GetType(), c.type);
        auto* v = Widgets::ScrollBar::Find(o);
        ASSERT_NE(v, nullptr);
        EXPECT_FLOAT_EQ(v->position.x, c.position.x);
        EXPECT_FLOAT_EQ(v->position.y, c.position.y);
        EXPECT_FLOAT_EQ(v->size.x, c.size.x);
        EXPECT_FLOAT_EQ(v->size.y, c.size.y);
        EXPECT_NE(v->dragButton, nullptr);
    }
}

}  // namespace
