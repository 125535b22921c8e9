#include <gtest/gtest.h>

#include "ObjectWorld.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/input/PadFixture.h"

using namespace objtest;

namespace {

// The eight inputs as letters: J jumpPressed, j jumpTriggered, L left, R
// right, U up, D down, G grabPressed, g grabTriggered.
std::string Letters(const PlayerInputs& in) {
    std::string s;
    if (in.jumpPressed) s += 'J';
    if (in.jumpTriggered) s += 'j';
    if (in.leftPressed) s += 'L';
    if (in.rightPressed) s += 'R';
    if (in.upPressed) s += 'U';
    if (in.downPressed) s += 'D';
    if (in.grabPressed) s += 'G';
    if (in.grabTriggered) s += 'g';
    return s;
}

class PlayerInputTest : public ObjectWorld {};

TEST_F(PlayerInputTest, EveryControlMapsToItsInputs) {
    struct Row {
        const char* control;
        std::set<unsigned char> keys, previousKeys, buttons, previousButtons;
        std::uint16_t pad;
        short x, y;
        std::uint16_t remote;
        bool wii;
        bool previousJump, previousGrab;
        const char* inputs;
    };
    const Row rows[] = {
        // Keyboard and mouse: held keys, and a trigger only in the frame a key went down.
        {"Space down", {57}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "Jj"},
        {"Space held", {57}, {57}, {}, {}, 0, 0, 0, 0, false, true, false, "J"},
        {"Up arrow", {200}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "JjU"},
        {"W", {17}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "JjU"},
        {"W held", {17}, {17}, {}, {}, 0, 0, 0, 0, false, true, false, "JU"},
        {"mouse 0", {}, {}, {0}, {}, 0, 0, 0, 0, false, false, false, "Jj"},
        {"mouse 0 held", {}, {}, {0}, {0}, 0, 0, 0, 0, false, true, false, "J"},
        {"Down arrow", {208}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "D"},
        {"S", {31}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "D"},
        {"Left arrow", {203}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "L"},
        {"A", {30}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "L"},
        {"Right arrow", {205}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "R"},
        {"D", {32}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "R"},
        {"left and right together", {30, 32}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "LR"},
        {"Left Ctrl", {29}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "Gg"},
        {"Right Ctrl", {157}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "Gg"},
        {"Q", {16}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "Gg"},
        {"E", {18}, {}, {}, {}, 0, 0, 0, 0, false, false, false, "Gg"},
        {"E held", {18}, {18}, {}, {}, 0, 0, 0, 0, false, false, true, "G"},
        {"mouse 1", {}, {}, {1}, {}, 0, 0, 0, 0, false, false, false, "Gg"},
        {"an unrelated key", {1, 25, 28}, {}, {}, {}, 0, 0, 0, 0, false, false, false, ""},
        // Pad buttons: triggered when held now and not in the previous frame.
        {"pad left", {}, {}, {}, {}, 0x0004, 0, 0, 0, false, false, false, "L"},
        {"pad right", {}, {}, {}, {}, 0x0008, 0, 0, 0, false, false, false, "R"},
        {"pad up", {}, {}, {}, {}, 0x0001, 0, 0, 0, false, false, false, "U"},
        {"pad down", {}, {}, {}, {}, 0x0002, 0, 0, 0, false, false, false, "D"},
        {"pad A", {}, {}, {}, {}, 0x1000, 0, 0, 0, false, false, false, "Jj"},
        {"pad A held", {}, {}, {}, {}, 0x1000, 0, 0, 0, false, true, false, "J"},
        {"pad Y", {}, {}, {}, {}, 0x8000, 0, 0, 0, false, false, false, "Jj"},
        {"pad B", {}, {}, {}, {}, 0x2000, 0, 0, 0, false, false, false, "Gg"},
        {"pad X held", {}, {}, {}, {}, 0x4000, 0, 0, 0, false, false, true, "G"},
        {"pad Start and Back", {}, {}, {}, {}, 0x0030, 0, 0, 0, false, false, false, ""},
        // Stick thresholds: 10000 across, 30000 up and down, strict.
        {"stick x -10000", {}, {}, {}, {}, 0, -10000, 0, 0, false, false, false, ""},
        {"stick x -10001", {}, {}, {}, {}, 0, -10001, 0, 0, false, false, false, "L"},
        {"stick x 10000", {}, {}, {}, {}, 0, 10000, 0, 0, false, false, false, ""},
        {"stick x 10001", {}, {}, {}, {}, 0, 10001, 0, 0, false, false, false, "R"},
        {"stick y 30000", {}, {}, {}, {}, 0, 0, 30000, 0, false, false, false, ""},
        {"stick y 30001", {}, {}, {}, {}, 0, 0, 30001, 0, false, false, false, "U"},
        {"stick y -30000", {}, {}, {}, {}, 0, 0, -30000, 0, false, false, false, ""},
        {"stick y -30001", {}, {}, {}, {}, 0, 0, -30001, 0, false, false, false, "D"},
        {"stick corner", {}, {}, {}, {}, 0, 32767, -32768, 0, false, false, false, "RD"},
        // The Wii remote, held sideways, only while its switch is on.
        {"remote 0x0008", {}, {}, {}, {}, 0, 0, 0, 0x0008, true, false, false, "L"},
        {"remote 0x0004", {}, {}, {}, {}, 0, 0, 0, 0x0004, true, false, false, "R"},
        {"remote 0x0002", {}, {}, {}, {}, 0, 0, 0, 0x0002, true, false, false, "U"},
        {"remote 0x0001", {}, {}, {}, {}, 0, 0, 0, 0x0001, true, false, false, "D"},
        {"remote 0x0100", {}, {}, {}, {}, 0, 0, 0, 0x0100, true, false, false, "Jj"},
        {"remote 0x0100 held", {}, {}, {}, {}, 0, 0, 0, 0x0100, true, true, false, "J"},
        {"remote 0x0200", {}, {}, {}, {}, 0, 0, 0, 0x0200, true, false, false, "Gg"},
        {"remote switched off", {}, {}, {}, {}, 0, 0, 0, 0x030F, false, false, false, ""},
        {"remote's other buttons", {}, {}, {}, {}, 0, 0, 0, 0xFCF0, true, false, false, ""},
        // Devices together.
        {"key, pad and remote", {30}, {}, {}, {}, 0x1000, 0, 30001, 0x0200, true, false, false, "JjLUGg"},
    };
    for (const Row& row : rows) {
        Controls& held = Held();
        held.keys = row.keys;
        held.previousKeys = row.previousKeys;
        held.buttons = row.buttons;
        held.previousButtons = row.previousButtons;
        held.pad = row.pad;
        held.stickX = row.x;
        held.stickY = row.y;
        held.remote = row.remote;
        EXPECT_EQ(Letters(ReadPlayerInputs(row.previousJump, row.previousGrab, row.wii)), row.inputs) << row.control;
    }
}

TEST_F(PlayerInputTest, TheInputPassWritesThePlayerAndMovesIt) {
    GameVars().wiiControls = true;
    SetGrid({"..........", "..........", "%%%%%%%%%%"});
    Object* player = MakePlayer("Player_0", 5.5f, 1.4365f);
    Frames(2);               // on the floor
    Held().remote = 0x0004;  // right on the remote
    Held().pad = 0x1000;     // A
    Frame();
    EXPECT_TRUE(P(player).rightPressed);
    EXPECT_TRUE(P(player).jumpPressed);
    EXPECT_TRUE(P(player).jumpTriggered);
    EXPECT_GT(P(player).velocity.y, 0.1f);
    EXPECT_GT(P(player).velocity.x, 0.0f);
    Frame();  // A still held: no second trigger
    EXPECT_TRUE(P(player).jumpPressed);
    EXPECT_FALSE(P(player).jumpTriggered);
    GameVars().wiiControls = false;
    Frame();
    EXPECT_FALSE(P(player).rightPressed);
}

// The default device reads go to the input layer: a key press reaches the
// player through the keyboard, and an inactive window silences keyboard and
// mouse but not the pad.
TEST_F(PlayerInputTest, DefaultDevicesReadTheInputLayer) {
    ResetPlayerDevices();
    ResetInputHooks();
    static bool active = true;
    active = true;
    inputHooks.windowActive = [] { return active; };
    inputHooks.windowWasActive = [] { return active; };
    inputHooks.remoteButtons = [] { return std::uint16_t{0x0008}; };
    Keyboard.Init();
    Mouse.Init();
    inputEngine.Reset();

    Keyboard.DeviceKey(57, true);
    Keyboard.DeviceKey(208, true);
    inputEngine.InternalUpdate();
    inputEngine.GameUpdate();
    EXPECT_EQ(Letters(ReadPlayerInputs(false, false, true)), "JjLD");
    inputEngine.InternalUpdate();
    inputEngine.GameUpdate();
    EXPECT_EQ(Letters(ReadPlayerInputs(true, false, false)), "JD");
    active = false;
    EXPECT_EQ(Letters(ReadPlayerInputs(true, false, true)), "L");

    Keyboard.Free();
    Mouse.Free();
    ResetInputHooks();
}

}  // namespace

namespace {

class PlayerPadTest : public inputtest::PadTest {
protected:
    void SetUp() override {
        inputtest::PadTest::SetUp();
        ResetPlayerDevices();
    }
};

// The default reads take the pad's word and left stick from the input layer;
// an inactive window silences only keyboard and mouse.
TEST_F(PlayerPadTest, ThePadSteersThroughTheInputLayer) {
    inputtest::activeNow = inputtest::activeBefore = false;
    Set(SDL_CONTROLLER_BUTTON_A, true);
    Set(SDL_CONTROLLER_AXIS_LEFTX, Sint16(20000));
    Set(SDL_CONTROLLER_AXIS_LEFTY, Sint16(-32000));  // SDL's y grows downward: up on the pad
    XBox.Update();
    PlayerInputs in = ReadPlayerInputs(false, false, false);
    EXPECT_TRUE(in.jumpPressed);
    EXPECT_TRUE(in.jumpTriggered);
    EXPECT_TRUE(in.rightPressed);
    EXPECT_TRUE(in.upPressed);
    EXPECT_FALSE(in.leftPressed);
    in = ReadPlayerInputs(true, false, false);
    EXPECT_FALSE(in.jumpTriggered);
}

}  // namespace
