#include <cmath>
#include <numbers>

#include "GLFixture.h"
#include "platform/graphics/Frame.h"
#include "platform/graphics/Texture.h"

namespace {

bool IsWhite(Pixel p) { return p.r > 250 && p.g > 250 && p.b > 250; }
bool IsBlack(Pixel p) { return p.r < 5 && p.g < 5 && p.b < 5; }

}  // namespace

TEST_F(GLTest, QuadsArePlacedWithYUpAndCentredOrigin) {
    Buffer& b = Begin();
    // The game area is 1 unit high: y = 0.25 is a quarter of the way up.
    b.AddFrame(0.0f, 0.25f, 0.0f, 0.25f, 0.25f, 0.0f, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(32, 16)));   // rows count from the top
    EXPECT_TRUE(IsBlack(At(32, 48)));
    EXPECT_TRUE(IsBlack(At(32, 30)));
    EXPECT_TRUE(IsBlack(At(10, 16)));
    EXPECT_TRUE(target.updated);
}

TEST_F(GLTest, RotationTurnsCounterClockwise) {
    Buffer& b = Begin();
    // A bar along x from the centre to the right, turned a quarter turn:
    // it points up afterwards.
    b.AddFrame(0.0f, 0.0f, 0.0f, 0.1f, 0.8f, std::numbers::pi_v<float> / 2, white, 0, 0, 1, 1, -1);
    Finish(b);
    Draw();
    EXPECT_TRUE(IsWhite(At(8, 32)));
    EXPECT_TRUE(IsWhite(At(56, 32)));
    EXPECT_TRUE(IsBlack(At(32, 8)));
    EXPECT_TRUE(IsBlack(At(32, 56)));
}

TEST_F(GLTest, ColourTintsTheTexture) {
    struct Case {
        int colour;
        Pixel expected;
    } cases[] = {
        {static_cast<int>(0xFF00FF00u), {0, 255, 0, 255}},
        {static_cast<int>(0xFFFF0000u), {255, 0, 0, 255}},
        {static_cast<int>(0xFF0000FFu), {0, 0, 255, 255}},
        {static_cast<int>(0xFF808080u), {128, 128, 128, 255}},
        // Half alpha blends half-way onto the black clear.
        {static_cast<int>(0x80FFFFFFu), {128, 128, 128, 255}},
    };
    for (const Case& c : cases) {
        Buffer& b = Begin();
        b.AddFrame(0, 0, 0, 1, 1, 0, white, 0, 0, 1, 1, c.colour);
        Finish(b);
        Draw();
        const Pixel p = At(32, 32);
        EXPECT_NEAR(p.r, c.expected.r, 2) << std::hex << c.colour;
        EXPECT_NEAR(p.g, c.expected.g, 2) << std::hex << c.colour;
        EXPECT_NEAR(p.b, c.expected.b, 2) << std::hex << c.colour;
    }
}
