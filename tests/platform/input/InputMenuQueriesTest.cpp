#include <cstdint>
#include <string>
#include <vector>

#include "PadFixture.h"

using namespace inputtest;

namespace {
class InputMenuQueries : public PadTest {};

std::uint16_t remoteBits = 0;

enum Query { Select, Pause, Back, Up, Down, Left, Right, Anything, QueryCount };

std::vector<bool> Answers() {
    return {inputEngine.SelectButtonPressed(), inputEngine.PauseButtonPressed(), inputEngine.BackButtonPressed(),
            inputEngine.UpPressed(),           inputEngine.DownPressed(),        inputEngine.LeftPressed(),
            inputEngine.RightPressed(),        inputEngine.AnythingPressed()};
}

std::vector<bool> Only(std::initializer_list<Query> qs) {
    std::vector<bool> v(QueryCount, false);
    for (Query q : qs) v[q] = true;
    return v;
}
}  // namespace

TEST_F(InputMenuQueries, EachInputAnswersItsQueries) {
    inputHooks.remoteButtons = [] { return remoteBits; };
    struct Case {
        const char* what;
        SDL_Scancode key;      // or UNKNOWN
        int padButton;         // or -1
        std::uint16_t remote;  // remote word (held sideways)
        std::vector<bool> expected;
    };
    const Case cases[] = {
        {"Return", SDL_SCANCODE_RETURN, -1, 0, Only({Select, Pause, Anything})},
        {"Space", SDL_SCANCODE_SPACE, -1, 0, Only({Select, Anything})},
        {"Escape", SDL_SCANCODE_ESCAPE, -1, 0, Only({Pause, Back, Anything})},
        {"P", SDL_SCANCODE_P, -1, 0, Only({Pause, Anything})},
        {"Up", SDL_SCANCODE_UP, -1, 0, Only({Up, Anything})},
        {"W", SDL_SCANCODE_W, -1, 0, Only({Up, Anything})},
        {"Down", SDL_SCANCODE_DOWN, -1, 0, Only({Down, Anything})},
        {"S", SDL_SCANCODE_S, -1, 0, Only({Down, Anything})},
        {"Left", SDL_SCANCODE_LEFT, -1, 0, Only({Left, Anything})},
        {"A", SDL_SCANCODE_A, -1, 0, Only({Left, Anything})},
        {"Right", SDL_SCANCODE_RIGHT, -1, 0, Only({Right, Anything})},
        {"D", SDL_SCANCODE_D, -1, 0, Only({Right, Anything})},
        {"X key", SDL_SCANCODE_X, -1, 0, Only({Anything})},
        {"pad A", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_A, 0, Only({Select, Anything})},
        {"pad B", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_B, 0, Only({Back, Anything})},
        {"pad X", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_X, 0, Only({Anything})},
        {"pad Y", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_Y, 0, Only({Anything})},
        {"pad Start", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_START, 0, Only({Pause, Anything})},
        {"pad Back", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_BACK, 0, Only({Back})},
        {"pad up", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, Only({Up})},
        {"pad down", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, Only({Down})},
        {"pad left", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, Only({Left})},
        {"pad right", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, Only({Right})},
        {"pad shoulder", SDL_SCANCODE_UNKNOWN, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, Only({})},
        {"remote Two", SDL_SCANCODE_UNKNOWN, -1, 0x0100, Only({Select, Anything})},
        {"remote One", SDL_SCANCODE_UNKNOWN, -1, 0x0200, Only({Back, Anything})},
        {"remote Plus", SDL_SCANCODE_UNKNOWN, -1, 0x0010, Only({Pause, Anything})},
        {"remote Home", SDL_SCANCODE_UNKNOWN, -1, 0x8000, Only({Pause})},
        {"remote A", SDL_SCANCODE_UNKNOWN, -1, 0x0800, Only({Anything})},
        {"remote B", SDL_SCANCODE_UNKNOWN, -1, 0x0400, Only({})},
        {"remote up", SDL_SCANCODE_UNKNOWN, -1, 0x0002, Only({Up})},
        {"remote down", SDL_SCANCODE_UNKNOWN, -1, 0x0001, Only({Down})},
        {"remote left", SDL_SCANCODE_UNKNOWN, -1, 0x0008, Only({Left})},
        {"remote right", SDL_SCANCODE_UNKNOWN, -1, 0x0004, Only({Right})},
    };
    EXPECT_EQ(Answers(), Only({})) << "idle";
    for (const Case& c : cases) {
        if (c.key != SDL_SCANCODE_UNKNOWN) Key(c.key, true);
        if (c.padButton >= 0) Set(static_cast<SDL_GameControllerButton>(c.padButton), true);
        remoteBits = c.remote;
        PollAndFrame();
        EXPECT_EQ(Answers(), c.expected) << c.what;
        if (c.key != SDL_SCANCODE_UNKNOWN) Key(c.key, false);
        ClearPad();
        remoteBits = 0;
        PollAndFrame();
        EXPECT_EQ(Answers(), Only({})) << "after " << c.what;
    }
}

// Ctrl with a letter is a command (select all in the level editor): W, A,
// S and D then move no focus, while the arrows still do.
TEST_F(InputMenuQueries, DirectionLettersUnderCtrlAreNoDirections) {
    for (SDL_Scancode ctrl : {SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL}) {
        Key(ctrl, true);
        for (SDL_Scancode letter : {SDL_SCANCODE_W, SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D}) {
            Key(letter, true);
            PollAndFrame();
            EXPECT_EQ(Answers(), Only({Anything}))
                << SDL_GetScancodeName(letter) << " under " << SDL_GetScancodeName(ctrl);
            Key(letter, false);
        }
        Key(SDL_SCANCODE_LEFT, true);
        PollAndFrame();
        EXPECT_EQ(Answers(), Only({Left, Anything})) << "the arrow under " << SDL_GetScancodeName(ctrl);
        Key(SDL_SCANCODE_LEFT, false);
        Key(ctrl, false);
        PollAndFrame();
    }
}

TEST_F(InputMenuQueries, PadAnswersWhileTheWindowIsInactiveAndTheKeyboardDoesNot) {
    Key(SDL_SCANCODE_RETURN, true);
    Set(SDL_CONTROLLER_BUTTON_B, true);
    PollAndFrame();
    activeNow = false;
    EXPECT_FALSE(inputEngine.SelectButtonPressed());
    EXPECT_TRUE(inputEngine.BackButtonPressed());
    EXPECT_TRUE(inputEngine.AnythingPressed());
    Key(SDL_SCANCODE_RETURN, false);
}

TEST_F(InputMenuQueries, CombinedUseCounts) {
    Key(SDL_SCANCODE_K, true);
    for (int i = 0; i < 3; ++i) PollAndFrame();
    Key(SDL_SCANCODE_K, false);
    Motion(10, 10, 1, 0);
    PollAndFrame();
    EXPECT_EQ(inputEngine.UseCount(), 1);  // the mouse's run; the keyboard's ended
    EXPECT_EQ(inputEngine.LastUsed(), 0);
    EXPECT_TRUE(inputEngine.EverUsed());
    PollAndFrame();
    EXPECT_EQ(inputEngine.UseCount(), 0);
    EXPECT_EQ(inputEngine.LastUsed(), 1);
    Key(SDL_SCANCODE_K, true);
    PollAndFrame();
    EXPECT_TRUE(inputEngine.AnythingTriggered());
    Key(SDL_SCANCODE_K, false);
    PollAndFrame();
    EXPECT_TRUE(inputEngine.AnythingReleased());
    EXPECT_FALSE(inputEngine.AnythingTriggered());
}
