// How the dangers and markers of a play level read to a player, drawn through
// the renderer with the baked sheets and read back as pixels: spikes stand
// out from every ground they grow from, a checkpoint's lantern lights when
// it is reached, and the goal's gate shows round its sparkles.
#include <gtest/gtest.h>

#include "support/PngFile.h"
#include "support/SheetRenderWorld.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "objects/Camera.h"
#include "objects/Checkpoint.h"
#include "objects/LevelGoal.h"
#include "objects/LevelGraphics.h"

using namespace objtest;

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
    int Sum() const { return r + g + b; }
};

class LevelLookPixelTest : public SheetRenderWorld {
protected:
    void SetUpLevel(const std::vector<std::string>& rows, float x, float y) {
        SetGrid(rows);
        GameVars().basicLevel.GenerateCompleteTileGrid();
        cx = x;
        cy = y;
        camera = Make("Camera", "Camera");
        VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
        graphics = Make("LevelGraphics", "LevelGraphics");
        // The tile lists are set up only while the level has its local player.
        player = MakePlayer("Player_0", x + 100.0f, y);
    }
    void DrawFrame(const std::vector<Object*>& drawn) {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        ObjectData::LevelGraphics::GraphicsDraw(graphics, graphics);
        for (Object* o : drawn) o->GetEvent("GraphicsDraw")(o, o);
        EndFrame(buffer);
    }
    Rgb At(float x, float y) const {
        const float perUnit = static_cast<float>(kHeight) / scale;
        const int px = static_cast<int>((x - cx) * perUnit + kWidth / 2.0f);
        const int py = static_cast<int>(kHeight / 2.0f - (y - cy) * perUnit);
        if (px < 0 || py < 0 || px >= kWidth || py >= kHeight) return {};
        const std::size_t i = static_cast<std::size_t>((py * kWidth + px) * 4);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    // The brightest pixel of a square around a level point.
    Rgb Brightest(float x, float y, float half) const {
        Rgb best;
        for (float dy = -half; dy <= half; dy += 0.03f)
            for (float dx = -half; dx <= half; dx += 0.03f) {
                const Rgb p = At(x + dx, y + dy);
                if (p.Sum() > best.Sum()) best = p;
            }
        return best;
    }
    // The mean of a square around a level point.
    Rgb Mean(float x, float y, float half) const {
        Rgb sum;
        int n = 0;
        for (float dy = -half; dy <= half; dy += 0.03f)
            for (float dx = -half; dx <= half; dx += 0.03f, ++n) {
                const Rgb p = At(x + dx, y + dy);
                sum.r += p.r;
                sum.g += p.g;
                sum.b += p.b;
            }
        return n == 0 ? sum : Rgb{sum.r / n, sum.g / n, sum.b / n};
    }

    Object* camera = nullptr;
    Object* graphics = nullptr;
    Object* player = nullptr;
};

// A spike (pale, with its cold light) against each ground it grows from:
// grass, dirt and breakable floors, a dirt ceiling and a dirt wall. The tooth
// must stand well clear of the ground beside it, never darker than it.
TEST_F(LevelLookPixelTest, SpikesStandOutFromEveryGround) {
    SetUpLevel(
        {
            "%%%%%%%%%%%%%%%%%%%%",
            "%vvv...............%",
            "%..................%",
            "%.................<%",
            "%..................%",
            "%..................%",
            "%..^.....^....^....%",
            "%#####%%%%%%%BBBBBB%",
            "%%%%%%%%%%%%%%%%%%%%",
        },
        10.0f, 4.5f);
    DrawFrame({});
    struct Case {
        const char* ground;
        float spikeX, spikeY;    // the middle tooth of the cell
        float groundX, groundY;  // the ground beside it
    };
    const Case cases[] = {
        {"grass floor", 3.5f, 2.55f, 1.5f, 1.3f},  {"grass edge", 3.5f, 2.55f, 1.5f, 1.78f},
        {"dirt floor", 9.5f, 2.55f, 7.5f, 1.3f},   {"breakable floor", 14.5f, 2.55f, 16.5f, 1.3f},
        {"dirt ceiling", 2.5f, 7.45f, 5.5f, 8.5f}, {"dirt wall", 18.45f, 5.5f, 19.5f, 3.5f},
    };
    constexpr int kContrastFloor = 220;  // of 765, brightest tooth pixel over the ground's mean
    for (const Case& c : cases) {
        const Rgb spike = Brightest(c.spikeX, c.spikeY, 0.2f);
        const Rgb ground = Mean(c.groundX, c.groundY, 0.2f);
        EXPECT_GT(spike.Sum() - ground.Sum(), kContrastFloor)
            << c.ground << ": spike " << spike.r << "," << spike.g << "," << spike.b << " ground " << ground.r << ","
            << ground.g << "," << ground.b;
        EXPECT_GE(spike.b, spike.r) << c.ground << ": the spike's light is cold";
    }
}

// An unlit checkpoint is a dark lantern a player can still see; once the
// player reaches it, it burns warm and much brighter.
TEST_F(LevelLookPixelTest, ACheckpointLanternLightsWhenReached) {
    SetUpLevel(
        {
            "%%%%%%%%%%%%%%%%",
            "%..............%",
            "%..............%",
            "%..............%",
            "%..............%",
            "%..............%",
            "%##############%",
            "%%%%%%%%%%%%%%%%",
        },
        8.0f, 4.0f);
    Object* checkpoint = Make("Checkpoint", "c0");
    auto& c = VariablesOf<ObjectData::Checkpoint::Variables>(checkpoint);
    c.position = {5.5f, 2.5f, 0.0f};
    c.pulse = 0.0f;

    DrawFrame({});
    const Rgb empty = Mean(5.5f, 2.5f, 0.12f);
    DrawFrame({checkpoint});
    const Rgb unlit = Mean(5.5f, 2.5f, 0.12f);
    const Rgb unlitFrame = Brightest(5.5f, 2.5f, 0.3f);
    EXPECT_GT(unlitFrame.Sum(), empty.Sum() + 250) << "the unlit lantern's frame shows";
    EXPECT_FALSE(c.follow);

    // The player walks into it.
    P(player).position = {5.5f, 2.5f, 0.0f};
    checkpoint->DoEvent("Behavior");
    ASSERT_TRUE(c.follow);
    c.pulse = 0.0f;
    DrawFrame({checkpoint});
    const Rgb lit = Mean(5.5f, 2.5f, 0.12f);
    EXPECT_GT(lit.Sum(), unlit.Sum() + 250)
        << "lit " << lit.r << "," << lit.g << "," << lit.b << " unlit " << unlit.r << "," << unlit.g << "," << unlit.b;
    EXPECT_GT(lit.r, lit.b) << "the lit lantern burns warm";
    // Its light falls on the ground under it.
    EXPECT_GT(Mean(5.5f, 1.5f, 0.2f).Sum(), Mean(12.5f, 1.5f, 0.2f).Sum() + 20);
}

// The goal is a gate a player sees from afar: a bright ring round its
// sparkles, standing on the floor of its cell.
TEST_F(LevelLookPixelTest, TheGoalsGateShowsRoundItsSparkles) {
    SetUpLevel(
        {
            "%%%%%%%%%%%%%%%%",
            "%..............%",
            "%..............%",
            "%..............%",
            "%..............%",
            "%..............%",
            "%##############%",
            "%%%%%%%%%%%%%%%%",
        },
        8.0f, 4.0f);
    Object* goal = Make("LevelGoal", "goal");
    auto& g = VariablesOf<ObjectData::LevelGoal::Variables>(goal);
    g.position = {8.5f, 2.5f, 0.0f};
    DrawFrame({goal});
    testsupport::WritePng("/tmp/glimmerfall_goal_gate.png", kWidth, kHeight, 4, pixels.data());
    // The ring: 0.69 units round a centre 0.39 above the goal's.
    const float ringX = 8.5f, ringY = 2.5f + 0.39f, radius = 0.69f;
    for (const auto& [dx, dy] : {std::pair{-radius, 0.0f}, std::pair{radius, 0.0f}, std::pair{0.0f, radius}}) {
        const Rgb ring = Brightest(ringX + dx, ringY + dy, 0.06f);
        EXPECT_GT(ring.Sum(), 600) << "ring at " << dx << "," << dy << ": " << ring.r << "," << ring.g << "," << ring.b;
    }
    // Outside the gate the sky stays dark; inside it glows faintly, well
    // below its ring.
    const Rgb outside = Mean(ringX + 2.0f * radius, ringY + 0.5f, 0.05f);
    EXPECT_LT(outside.Sum(), 150);
    const Rgb inside = Mean(ringX - 0.35f, ringY + 0.3f, 0.05f);
    EXPECT_GT(inside.Sum(), outside.Sum() + 30);
    EXPECT_LT(inside.Sum(), Brightest(ringX + radius, ringY, 0.06f).Sum() / 2);
}

}  // namespace
