#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/graphics/TripleBuffer.h"

namespace {

int OrderOf(Buffer* b) {
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    return b->order;
}

}  // namespace

TEST(TripleBuffer, NothingIsDrawnBeforeTheFirstFrame) {
    TripleBuffer tb(nullptr, nullptr);
    EXPECT_EQ(tb.GetNewestBuffer(), nullptr);
    // While the first frame is being filled the render thread may take an
    // empty buffer.
    Buffer* game = tb.GetOldestBuffer();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(OrderOf(game), 2);
    Buffer* render = tb.GetNewestBuffer();
    ASSERT_NE(render, nullptr);
    EXPECT_NE(render, game);
    EXPECT_EQ(OrderOf(render), -1);
}

TEST(TripleBuffer, RenderThreadTakesTheNewestFinishedFrameAndRedrawsIt) {
    TripleBuffer tb(nullptr, nullptr);
    Buffer* first = tb.GetOldestBuffer();
    first->Ready();
    Buffer* second = tb.GetOldestBuffer();
    EXPECT_NE(second, first);
    second->Ready();
    EXPECT_EQ(tb.GetNewestBuffer(), second);
    second->Ready();
    // The game thread is slower: the same frame again.
    EXPECT_EQ(tb.GetNewestBuffer(), second);
    second->Ready();
    // The game thread is faster: the oldest frame is overwritten, never the
    // newest finished one while a third is filled.
    Buffer* third = tb.GetOldestBuffer();
    EXPECT_NE(third, second);
    EXPECT_EQ(tb.GetNewestBuffer(), second);
    second->Ready();
    third->Ready();
    EXPECT_EQ(tb.GetNewestBuffer(), third);
    third->Ready();
}

TEST(TripleBuffer, StampsStaySmall) {
    TripleBuffer tb(nullptr, nullptr);
    for (int i = 0; i < 1000; ++i) {
        tb.GetOldestBuffer()->Ready();
        Buffer* drawn = tb.GetNewestBuffer();
        ASSERT_NE(drawn, nullptr);
        drawn->Ready();
    }
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    for (const Buffer& b : tb.buffers) {
        EXPECT_GE(b.order, 0);
        EXPECT_LE(b.order, 106);
    }
}

TEST(TripleBuffer, BlockedAndClearedBuffersLoseTheirFrames) {
    TripleBuffer tb(nullptr, nullptr);
    tb.GetOldestBuffer()->Ready();
    Buffer* held = tb.GetOldestBuffer();
    tb.Block();
    held->Ready();
    // The blocked frame is gone; the earlier one is still shown.
    Buffer* drawn = tb.GetNewestBuffer();
    ASSERT_NE(drawn, nullptr);
    EXPECT_NE(drawn, held);
    drawn->Ready();
    tb.ClearBuffers();
    EXPECT_EQ(tb.GetNewestBuffer(), nullptr);
}

TEST(TripleBuffer, ClearKeepsSettingsAndCapacity) {
    Buffer b;
    b.layerTechnique[1] = "TechniqueAdd";
    b.layerColor[1] = 0x12345678u;
    for (int i = 0; i < 100; ++i) b.AddTile(5, 0, 0, 0, 1, 1, 0, static_cast<GLTexture*>(nullptr), 0, 0, 1, 1, -1);
    b.cameraX = 3;
    b.cameraScale = 4;
    const auto capacity = b.tiles[5].capacity();
    b.Clear();
    EXPECT_TRUE(b.tiles[5].empty());
    EXPECT_EQ(b.tiles[5].capacity(), capacity);
    EXPECT_EQ(b.layerTechnique[1], "TechniqueAdd");
    EXPECT_EQ(b.layerColor[1], 0x12345678u);
    EXPECT_EQ(b.cameraX, 0.0f);
    EXPECT_EQ(b.cameraScale, 1.0f);
    EXPECT_EQ(b.tileTechnique[15], "TechniqueTile2D");
}

TEST(TripleBuffer, QueueingFormsFillTheRightListsAndRecords) {
    Buffer b;
    b.AddFrame(1, 2, 3, 4, 5, 6, 2u, 0x11223344);
    const Plane2D& p = b.frames.back();
    EXPECT_EQ(p.depth, 3);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
    EXPECT_EQ(p.width, 4);
    EXPECT_EQ(p.height, 5);
    EXPECT_EQ(p.rotation, 6);
    EXPECT_EQ(p.texture, nullptr);
    EXPECT_EQ(p.sourceLayer, 2u);
    EXPECT_FLOAT_EQ(p.u, 0.001f);
    EXPECT_FLOAT_EQ(p.du, 1.0f);
    b.AddFrameToLayer(3, 0, 0, 0, 1, 1, 0, static_cast<GLTexture*>(nullptr), 0.1f, 0.2f, 0.3f, 0.4f, 7);
    EXPECT_EQ(b.layers[3].size(), 1u);
    EXPECT_EQ(b.layers[3].back().sourceLayer, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(b.layers[3].back().dv, 0.4f);
    b.AddBackground(0, 0, 0, 1, 1, 0, 1u, 0);
    EXPECT_EQ(b.backgrounds.size(), 1u);
    b.AddTile(15, 0, 0, 0, 1, 1, 0, 0u, 0);
    EXPECT_EQ(b.tiles[15].size(), 1u);
}

TEST(TripleBuffer, SortOrdersByDepthExceptTilesAndUnflaggedLayers) {
    Buffer b;
    for (float z : {3.0f, 1.0f, 2.0f}) {
        b.AddFrame(0, 0, z, 1, 1, 0, 0u, 0);
        b.AddBackground(0, 0, z, 1, 1, 0, 0u, 0);
        b.AddFrameToLayer(0, 0, 0, z, 1, 1, 0, 0u, 0);
        b.AddFrameToLayer(1, 0, 0, z, 1, 1, 0, 0u, 0);
        b.AddTile(0, 0, 0, z, 1, 1, 0, 0u, 0);
    }
    b.layerSorted[1] = true;
    b.Sort();
    auto depths = [](const std::vector<Plane2D>& list) {
        std::vector<float> d;
        for (const Plane2D& p : list) d.push_back(p.depth);
        return d;
    };
    const std::vector<float> sorted{1, 2, 3}, unsorted{3, 1, 2};
    EXPECT_EQ(depths(b.frames), sorted);
    EXPECT_EQ(depths(b.backgrounds), sorted);
    EXPECT_EQ(depths(b.layers[1]), sorted);
    EXPECT_EQ(depths(b.layers[0]), unsorted);
    EXPECT_EQ(depths(b.tiles[0]), unsorted);
}

// The game thread fills frames while the render thread draws: no buffer is
// ever held by both at once, and the render thread always draws a frame at
// least as new as the newest one finished before it asked.
TEST(TripleBuffer, TwoThreadSoak) {
    TripleBuffer tb(nullptr, nullptr);
    std::array<std::atomic<int>, 3> holders{};
    std::atomic<int> lastFinished{0};
    std::atomic<bool> stop{false};
    std::atomic<int> overlaps{0}, stale{0}, backwards{0}, drawn{0};
    auto index = [&](Buffer* b) { return static_cast<std::size_t>(b - tb.buffers); };
    // cameraX carries the frame number the game thread wrote.

    // On a loaded machine the render thread may not have run at all by the
    // 20,000th frame: the game thread goes on (for a bounded time) until it
    // has drawn one.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::thread game([&] {
        for (int frame = 1; frame <= 20000 || (drawn.load() == 0 && std::chrono::steady_clock::now() < deadline);
             ++frame) {
            Buffer* b = tb.GetOldestBuffer();
            if (!b) {
                ++overlaps;
                continue;
            }
            if (holders[index(b)].fetch_add(1) != 0) ++overlaps;
            b->Clear();
            b->AddFrame(0, 0, 0, 1, 1, 0, 0u, frame);
            b->cameraX = static_cast<float>(frame);
            holders[index(b)].fetch_sub(1);
            b->Ready();
            lastFinished.store(frame);
        }
        stop.store(true);
    });
    std::thread render([&] {
        int previous = 0;
        while (!stop.load() && std::chrono::steady_clock::now() < deadline) {
            const int finished = lastFinished.load();
            Buffer* b = tb.GetNewestBuffer();
            if (!b) continue;
            if (holders[index(b)].fetch_add(1) != 0) ++overlaps;
            const int frame = static_cast<int>(b->cameraX);
            if (!b->frames.empty() && b->frames.front().colour != frame) ++overlaps;
            if (frame < finished) ++stale;
            if (frame < previous) ++backwards;
            previous = frame;
            ++drawn;
            holders[index(b)].fetch_sub(1);
            b->Ready();
        }
    });
    game.join();
    render.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(stale.load(), 0);
    EXPECT_EQ(backwards.load(), 0);
    EXPECT_GT(drawn.load(), 0);
}
