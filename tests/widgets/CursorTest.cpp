// The pointer follows the real mouse: shards start only while it moves, the
// ring wraps, the heading turns toward the motion, and a hidden pointer
// still answers hit tests. The layout dummies do nothing in any pass.
#include <gtest/gtest.h>

#include <cmath>

#include "collision/CollisionEngine.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "support/WidgetWorld.h"
#include "widgets/Cursor.h"
#include "widgets/PosSizeDummy.h"

using namespace widgettest;

namespace {

using CursorVars = ObjectData::Cursor::Variables;

class CursorTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        cursor = Make("Cursor", "Cursor");
    }
    CursorVars& C() { return VariablesOf<CursorVars>(cursor); }
    Object* cursor = nullptr;
};

TEST_F(CursorTest, ItStandsAtTheMouseAndAStillMouseStartsNoShard) {
    EXPECT_NEAR(C().position.x, -0.85f, 2e-3f) << "\"Load\" did not place it at the mouse";
    EXPECT_NEAR(C().position.y, 0.45f, 2e-3f);
    EXPECT_FLOAT_EQ(C().position.z, 10000.0f);
    C().rotation = 0.7f;
    C().velocity = {std::cos(0.7f), std::sin(0.7f)};
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(C().currentShard, 0);
    EXPECT_FLOAT_EQ(C().rotation, 0.7f);
    EXPECT_FLOAT_EQ(C().velocity.x, std::cos(0.7f));
    for (const D3DXVECTOR2& s : C().shardSize) ASSERT_EQ(s.x, 0.0f);
}

TEST_F(CursorTest, AMoveStartsOneShardOfSize15To30AndTurnsTheHeading) {
    const float x0 = C().position.x, y0 = C().position.y;
    PointAt(-0.85f, 0.45f - 50.0f / 720.0f);  // straight down by 50 pixels
    Frame();
    EXPECT_EQ(C().currentShard, 1);
    const float dy = C().position.y - y0;
    EXPECT_NEAR(dy, -50.0f / 720.0f, 1e-4f);
    EXPECT_FLOAT_EQ(C().position.x, x0);
    EXPECT_NEAR(C().rotation, std::atan2(20.0f * dy, 1.0f), 1e-5f);
    // Started this frame, then aged once: 0.95 of a size from 15 to 30.
    EXPECT_GE(C().shardSize[0].x, 15.0f * 0.95f - 1e-3f);
    EXPECT_LE(C().shardSize[0].x, 30.0f * 0.95f + 1e-3f);
    // With no size the shard starts at the pointer's old place.
    EXPECT_NEAR(C().shardPosition[0].x, x0 + C().shardVelocity[0].x, 1e-5f);

    // A move to the right from a heading of 0 keeps it 0.
    C().rotation = 0.0f;
    PointAt(-0.5f, 0.45f - 50.0f / 720.0f);
    Frame();
    EXPECT_NEAR(C().rotation, 0.0f, 1e-6f);
}

TEST_F(CursorTest, The4097thShardOverwritesTheFirst) {
    for (int i = 0; i < ObjectData::Cursor::kShards; ++i) {
        PointAt(i % 2 == 0 ? 0.1f : -0.1f, 0.0f);
        Frame();
    }
    EXPECT_EQ(C().currentShard, 0);
    for (auto& s : C().shardSize) s = {0.0f, 0.0f};
    PointAt(0.3f, 0.0f);
    Frame();
    EXPECT_EQ(C().currentShard, 1);
    EXPECT_GT(C().shardSize[0].x, 0.0f) << "the new shard did not take the oldest place";
    EXPECT_EQ(C().shardSize[1].x, 0.0f);
}

TEST_F(CursorTest, AHiddenPointerStillAnswersHitTests) {
    Object* dummy = Make("PosSizeDummy");
    auto& d = VariablesOf<ObjectData::PosSizeDummy::Variables>(dummy);
    d.position = {0.2f, 0.1f, 0.0f};
    d.size = {0.5f, 0.5f};
    C().visible = false;
    PointAt(0.2f, 0.1f);
    Frame();
    // A button-shaped box about the pointer.
    CollisionInfo2D box;
    box.AddRectangle(0.1f, 0.3f, 0.2f, 0.0f);
    EXPECT_TRUE(collisionEngine.Check(box, cursor));
    // Nothing of it is queued while hidden; all 4096 shards and the pointer otherwise.
    Buffer buffer;
    graphicsEngine.SetCurrentBuffer(&buffer);
    cursor->DoEvent("GraphicsDraw");
    EXPECT_TRUE(buffer.tiles[0].empty());
    EXPECT_TRUE(buffer.frames.empty());
    C().visible = true;
    cursor->DoEvent("GraphicsDraw");
    graphicsEngine.SetCurrentBuffer(nullptr);
    EXPECT_EQ(buffer.tiles[0].size(), static_cast<std::size_t>(ObjectData::Cursor::kShards));
    EXPECT_EQ(buffer.frames.size(), 1u);
    // The dummy, in no engine, kept what was written.
    EXPECT_FLOAT_EQ(d.position.x, 0.2f);
    EXPECT_FLOAT_EQ(d.size.y, 0.5f);
}

TEST_F(CursorTest, TheTintStaysWithinItsRange) {
    for (float phase : {0.0f, 1.0f, 3.14159f, 5.0f}) {
        const std::uint32_t c = ObjectData::Cursor::Tint(phase);
        const std::uint32_t g = (c >> 8) & 255u;
        EXPECT_EQ((c >> 16) & 255u, g);
        EXPECT_EQ(c & 255u, 240u);
        EXPECT_EQ(c >> 24, 255u);
        EXPECT_GE(g, 159u);
        EXPECT_LE(g, 255u);
    }
}

TEST_F(CursorTest, AWindowGridDoesNothingInAnyPass) {
    Object* grid = Make("WindowGrid");
    ASSERT_NE(grid, nullptr);
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_EQ(grid->GetType(), "WindowGrid");
}

}  // namespace
