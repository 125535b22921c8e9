// The player's name label drawn through the real renderer with the baked
// sheets: over a networked player in its colour, absent in single play, and
// gone with the player.
#include <gtest/gtest.h>

#include "support/SheetRenderWorld.h"

#include "widgets/Text.h"

using namespace objtest;

namespace {

class NameLabelPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        SetGrid({"..........", "..........", ".........."});
        cx = 5.0f;
        cy = 5.0f;
        camera = Make("Camera", "Camera");
        VariablesOf<ObjectData::Camera::Variables>(camera).position = {cx, cy, 0.0f};
    }
    // A frame of every text object of the level, as its drawing pass runs them.
    void DrawTexts() {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        for (Object* o : state->Objects())
            if (ObjectData::Text::Find(o) != nullptr && !o->_Deleted()) o->GetEvent("GraphicsDraw")(o, o);
        EndFrame(buffer);
    }
    // Green pixels within the square of side 2 x half about level point (x, y).
    int Green(float x, float y, float half) const {
        const float perUnit = static_cast<float>(kHeight) / scale;
        int n = 0;
        for (int py = 0; py < kHeight; ++py)
            for (int px = 0; px < kWidth; ++px) {
                const float lx = (static_cast<float>(px) - kWidth / 2.0f) / perUnit + cx;
                const float ly = (kHeight / 2.0f - static_cast<float>(py)) / perUnit + cy;
                if (std::abs(lx - x) > half || std::abs(ly - y) > half) continue;
                const std::size_t i = static_cast<std::size_t>((py * kWidth + px) * 4);
                n += pixels[i + 1] > 70 && pixels[i] < 40 && pixels[i + 2] < 40 ? 1 : 0;
            }
        return n;
    }
    Object* Player(const char* name, float x, float y, bool networked) {
        Object* p = MakePlayer(name, x, y, networked);
        P(p).playerName = "Ana";
        P(p).score = 3;
        P(p).playerColor = 0xFF20FF20u;
        p->GetEvent("GraphicsUpdate")(p, p);  // the label follows the player
        return p;
    }
    Object* camera = nullptr;
};

// A label's letters (under half a unit high) cover several dozen pixels of
// the frame; none stands for no label.
constexpr int kLabelPixels = 40;

TEST_F(NameLabelPixelTest, ANetworkedPlayersLabelShowsAboveItInItsColour) {
    Player("Player_1", 5.0f, 3.5f, true);
    DrawTexts();
    EXPECT_GT(Green(5.0f, 4.5f, 1.5f), kLabelPixels) << "no green label above the player";
    EXPECT_EQ(Green(5.0f, 7.5f, 1.5f), 0) << "green away from the label";
}

TEST_F(NameLabelPixelTest, ASinglePlayerShowsNoLabel) {
    Player("Player_0", 5.0f, 3.5f, false);
    DrawTexts();
    EXPECT_EQ(Green(5.0f, 4.5f, 2.0f), 0);
}

TEST_F(NameLabelPixelTest, ADeletedPlayerLeavesNoLabelBehind) {
    Object* p = Player("Player_1", 5.0f, 3.5f, true);
    DrawTexts();
    ASSERT_GT(Green(5.0f, 4.5f, 1.5f), kLabelPixels);
    p->_Delete();
    State::EndOfFrame();
    DrawTexts();
    EXPECT_EQ(Green(5.0f, 4.5f, 2.0f), 0) << "the label floats where the player stood";
}

}  // namespace
