#include <vector>

#include "InputFixture.h"

using namespace inputtest;

namespace {
class MouseTest : public InputTest {};
}  // namespace

TEST_F(MouseTest, ButtonsMapAndAShortClickIsSeenOnce) {
    struct Case {
        Uint8 sdl;
        unsigned char button;
    };
    const Case cases[] = {
        {SDL_BUTTON_LEFT, 0}, {SDL_BUTTON_RIGHT, 1}, {SDL_BUTTON_MIDDLE, 2}, {SDL_BUTTON_X1, 3}, {SDL_BUTTON_X2, 4}};
    for (const Case& c : cases) {
        Button(c.sdl, true);
        Button(c.sdl, false);
        PollAndFrame();
        for (unsigned char b = 0; b < Mouse_::NUM_BUTTONS; ++b)
            EXPECT_EQ(Mouse.Triggered(b), b == c.button) << int(c.sdl) << " -> " << int(b);
        PollAndFrame();
        EXPECT_TRUE(Mouse.Released(c.button));
        EXPECT_FALSE(Mouse.AnyPressed());
    }
    EXPECT_FALSE(Mouse.Pressed(8)) << "no ninth button";
}

TEST_F(MouseTest, MovementAddsUpUntilAFrameTakesItAndTheWheelCountsInSteps) {
    Motion(100, 50, 3, -2);
    Wheel(1);
    Poll();
    Motion(104, 51, 4, 1);
    Wheel(2);
    Poll();
    Frame();
    // Both polls' movement and every wheel notch reach the frame; the cursor
    // is the newest poll's.
    EXPECT_FLOAT_EQ(Mouse.DeltaX(), 7.0f);
    EXPECT_FLOAT_EQ(Mouse.DeltaY(), -1.0f);
    EXPECT_FLOAT_EQ(Mouse.DeltaZ(), 360.0f);
    EXPECT_EQ(Mouse.GetScreenX(), 104);
    EXPECT_EQ(Mouse.GetScreenY(), 51);
    EXPECT_EQ(Mouse.MoveCount(), 1);
    EXPECT_TRUE(Mouse.EverMoved());
    EXPECT_EQ(Mouse.UseCount(), 1);

    Wheel(1, true);
    PollAndFrame();
    EXPECT_FLOAT_EQ(Mouse.DeltaX(), 0.0f);
    EXPECT_FLOAT_EQ(Mouse.DeltaZ(), -120.0f);
    PollAndFrame();
    EXPECT_EQ(Mouse.MoveCount(), 0);
    EXPECT_EQ(Mouse.LastMoved(), 1);
    EXPECT_EQ(Mouse.LastUsed(), 1);
    EXPECT_EQ(Mouse.GetScreenX(), 104) << "the cursor stays where it was";

    inputHooks.screenToGame = [](int x, int y, float* gx, float* gy) {
        *gx = static_cast<float>(x) / 100.0f;
        *gy = -static_cast<float>(y) / 100.0f;
    };
    EXPECT_FLOAT_EQ(Mouse.GetX(), 1.04f);
    EXPECT_FLOAT_EQ(Mouse.GetY(), -0.51f);
}

// A game frame longer than a click (a busy machine) still sees the click:
// the press stays in the pending block until a frame takes it, and the
// button is up again in the next frame.
TEST_F(MouseTest, AClickBetweenFramesIsSeenWhateverThePollsInBetween) {
    Button(SDL_BUTTON_LEFT, true);
    Poll();
    Button(SDL_BUTTON_LEFT, false);
    for (int poll = 0; poll < 20; ++poll) Poll();
    Frame();
    EXPECT_TRUE(Mouse.Triggered(0));
    Frame();  // no poll in between: the button is as the newest poll left it
    EXPECT_TRUE(Mouse.Released(0));
    EXPECT_FLOAT_EQ(Mouse.DeltaX(), 0.0f);
    Poll();
    Frame();
    EXPECT_FALSE(Mouse.AnyPressed());
    EXPECT_FALSE(Mouse.Released(0));

    // A press still held stays down from frame to frame.
    Button(SDL_BUTTON_RIGHT, true);
    Poll();
    Frame();
    Frame();
    EXPECT_TRUE(Mouse.Pressed(1));
    EXPECT_EQ(Mouse.PressCount(1), 2);
    // A reset forgets a press already let go: nothing reads as new after it.
    Button(SDL_BUTTON_RIGHT, false);
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Poll();
    inputEngine.Reset();
    EXPECT_FALSE(Mouse.Triggered(0));
    EXPECT_FALSE(Mouse.Released(0));
    EXPECT_FALSE(Mouse.Released(1));
}

// A button held, let go and pressed again before the next frame is a new
// press, not one long hold: that frame sees it let go, the next one pressed
// anew, whether the two came within one poll of the input thread or in two;
// and clicks that all come before one frame, or within one poll, are each
// seen in turn.
TEST_F(MouseTest, ALetGoAndANewPressBetweenTwoFramesReadAsTwoPresses) {
    for (const bool onePoll : {true, false}) {
        SCOPED_TRACE(onePoll ? "within one poll" : "over two polls");
        inputEngine.Reset();
        Button(SDL_BUTTON_LEFT, true);
        PollAndFrame();
        PollAndFrame();
        ASSERT_EQ(Mouse.PressCount(0), 2);

        Button(SDL_BUTTON_LEFT, false);
        if (!onePoll) Poll();
        Button(SDL_BUTTON_LEFT, true);
        PollAndFrame();
        EXPECT_TRUE(Mouse.Released(0));
        EXPECT_FALSE(Mouse.Pressed(0));
        PollAndFrame();
        EXPECT_TRUE(Mouse.Triggered(0));
        EXPECT_EQ(Mouse.PressCount(0), 1);
        PollAndFrame();
        EXPECT_TRUE(Mouse.Pressed(0)) << "the new press is held";
        EXPECT_EQ(Mouse.PressCount(0), 2);
        Button(SDL_BUTTON_LEFT, false);
        PollAndFrame();
        EXPECT_TRUE(Mouse.Released(0));
    }

    // Held, then a whole click within one poll: let go, pressed, let go.
    inputEngine.Reset();
    Button(SDL_BUTTON_RIGHT, true);
    PollAndFrame();
    Button(SDL_BUTTON_RIGHT, false);
    Button(SDL_BUTTON_RIGHT, true);
    Button(SDL_BUTTON_RIGHT, false);
    PollAndFrame();
    EXPECT_TRUE(Mouse.Released(1));
    PollAndFrame();
    EXPECT_TRUE(Mouse.Triggered(1));
    PollAndFrame();
    EXPECT_TRUE(Mouse.Released(1));
    PollAndFrame();
    EXPECT_FALSE(Mouse.AnyPressed());

    // Two whole clicks before one frame (a slow frame), each between two
    // polls, or both within one poll (an input thread that a busy machine
    // kept waiting): two presses in the frames that follow, the second a
    // double click.
    for (const bool pollBetween : {true, false}) {
        SCOPED_TRACE(pollBetween ? "a poll after each click" : "both clicks within one poll");
        inputEngine.Reset();
        for (int i = 0; i < 40; ++i) PollAndFrame();
        for (int click = 0; click < 2; ++click) {
            Button(SDL_BUTTON_LEFT, true);
            Button(SDL_BUTTON_LEFT, false);
            if (pollBetween) Poll();
        }
        if (!pollBetween) Poll();
        Frame();
        EXPECT_TRUE(Mouse.Triggered(0));
        EXPECT_FALSE(Mouse.DoubleClick());
        Frame();
        EXPECT_TRUE(Mouse.Released(0));
        Frame();
        EXPECT_TRUE(Mouse.Triggered(0)) << "the double click's second press is lost";
        EXPECT_TRUE(Mouse.DoubleClick());
        Frame();
        EXPECT_TRUE(Mouse.Released(0));
        PollAndFrame();
        EXPECT_FALSE(Mouse.AnyPressed());
    }
}

// A busy frame comes after the pointer moved on: the frame that takes a
// press has the pointer where the press was, the one that takes the let-go
// where that was, and the next one where the pointer is now; a pointer
// that only moves is where it is now.
TEST_F(MouseTest, TheFrameOfAPressOrALetGoHasThePointerWhereItHappened) {
    Motion(100, 50, 0, 0);
    PollAndFrame();
    Button(SDL_BUTTON_LEFT, true, 200, 60);
    Motion(300, 70, 100, 10);
    Button(SDL_BUTTON_LEFT, false, 300, 70);
    Motion(400, 80, 100, 10);
    Poll();
    const struct {
        bool down;
        int x, y;
    } frames[] = {{true, 200, 60}, {false, 300, 70}, {false, 400, 80}};
    for (const auto& f : frames) {
        Frame();
        EXPECT_EQ(Mouse._Pressed(0), f.down);
        EXPECT_EQ(Mouse.GetScreenX(), f.x);
        EXPECT_EQ(Mouse.GetScreenY(), f.y);
    }
    Motion(450, 90, 50, 10);
    PollAndFrame();
    EXPECT_EQ(Mouse.GetScreenX(), 450);
}

TEST_F(MouseTest, DoubleClickWithinTheSystemTimeInFrames) {
    // 500 ms gives 1 + 30 frames: a second press must come while the left
    // button's last-pressed count is 1 to 30.
    struct Case {
        int upFrames;  // frames between the two presses
        bool doubleClick;
    };
    const Case cases[] = {{1, true}, {10, true}, {30, true}, {31, false}, {60, false}};
    for (const Case& c : cases) {
        inputEngine.Reset();
        for (int i = 0; i < 100; ++i) PollAndFrame();  // long since any press
        Button(SDL_BUTTON_LEFT, true);
        PollAndFrame();
        EXPECT_FALSE(Mouse.DoubleClick()) << "first press";
        Button(SDL_BUTTON_LEFT, false);
        for (int i = 0; i < c.upFrames; ++i) PollAndFrame();
        Button(SDL_BUTTON_LEFT, true);
        PollAndFrame();
        EXPECT_EQ(Mouse.DoubleClick(), c.doubleClick) << c.upFrames << " frames up";
        PollAndFrame();
        EXPECT_FALSE(Mouse.DoubleClick()) << "holding the button is no double click";
        Button(SDL_BUTTON_LEFT, false);
        PollAndFrame();
    }
}

TEST_F(MouseTest, InactiveWindowHidesButtons) {
    Button(SDL_BUTTON_LEFT, true);
    PollAndFrame();
    activeNow = false;
    EXPECT_FALSE(Mouse.Pressed(0));
    EXPECT_FALSE(Mouse.Triggered(0));
    EXPECT_FALSE(Mouse.AnyPressed());
    EXPECT_FALSE(inputEngine.AnythingPressed());
    EXPECT_TRUE(Mouse.Released(0));
    EXPECT_TRUE(inputEngine.AnythingReleased());
    activeBefore = false;
    EXPECT_FALSE(Mouse.Released(0));
}
