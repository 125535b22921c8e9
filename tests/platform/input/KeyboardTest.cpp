#include <string>
#include <vector>

#include "InputFixture.h"

using namespace inputtest;

namespace {
class KeyboardTest : public InputTest {};
}  // namespace

TEST_F(KeyboardTest, PressAndReleaseBetweenFramesIsSeenForExactlyOneFrame) {
    // Down and up before the input thread polls at all: the latch keeps it.
    Key(SDL_SCANCODE_SPACE, true);
    Key(SDL_SCANCODE_SPACE, false);
    PollAndFrame();
    EXPECT_TRUE(Keyboard.Pressed(DIK_SPACE));
    EXPECT_TRUE(Keyboard.Triggered(DIK_SPACE));
    PollAndFrame();
    EXPECT_FALSE(Keyboard.Pressed(DIK_SPACE));
    EXPECT_TRUE(Keyboard.Released(DIK_SPACE));
    PollAndFrame();
    EXPECT_FALSE(Keyboard.Pressed(DIK_SPACE));
    EXPECT_FALSE(Keyboard.Released(DIK_SPACE));

    // Down at one poll, up at the next, both before the game frame: the
    // pending block keeps what any poll saw down.
    Key(SDL_SCANCODE_Q, true);
    Poll();
    Key(SDL_SCANCODE_Q, false);
    Poll();
    Frame();
    EXPECT_TRUE(Keyboard.Pressed(DIK_Q));
    PollAndFrame();
    EXPECT_FALSE(Keyboard.Pressed(DIK_Q));
    EXPECT_EQ(Keyboard.PressCount(DIK_Q), 0);
    EXPECT_EQ(Keyboard.LastPressed(DIK_Q), 1);
    EXPECT_TRUE(Keyboard.EverPressed(DIK_Q));
}

// Each press of a key tapped again and again is a press of its own: a
// release the input thread has seen before a frame shows in that frame, even
// when polls since the last frame still saw the key down.
TEST_F(KeyboardTest, EveryTapOfARepeatedKeyIsTriggeredOnce) {
    for (int pollsHeldAfterFrame : {0, 1, 3}) {
        SCOPED_TRACE(pollsHeldAfterFrame);
        Keyboard.Init();
        inputEngine.Reset();
        int triggers = 0;
        for (int tap = 0; tap < 5; ++tap) {
            Key(SDL_SCANCODE_BACKSPACE, true);
            PollAndFrame();
            if (Keyboard.Triggered(DIK_BACK)) ++triggers;
            for (int i = 0; i < pollsHeldAfterFrame; ++i) Poll();
            Key(SDL_SCANCODE_BACKSPACE, false);
            Poll();
            PollAndFrame();
            EXPECT_FALSE(Keyboard.Pressed(DIK_BACK)) << "tap " << tap;
        }
        EXPECT_EQ(triggers, 5);
    }
}

TEST_F(KeyboardTest, HeldKeyRepeatsOnFrames1And30Then33And36) {
    Key(SDL_SCANCODE_RIGHT, true);
    std::vector<int> held, triggered;
    for (int frame = 1; frame <= 40; ++frame) {
        PollAndFrame();
        if (Keyboard.Held(DIK_RIGHT, Keyboard_::DELAY, Keyboard_::RATE)) held.push_back(frame);
        if (Keyboard.Triggered(DIK_RIGHT)) triggered.push_back(frame);
        EXPECT_FALSE(Keyboard.Released(DIK_RIGHT));
        EXPECT_EQ(Keyboard.PressCount(DIK_RIGHT), frame);
    }
    EXPECT_EQ(held, (std::vector<int>{1, 30, 33, 36, 39}));
    EXPECT_EQ(triggered, (std::vector<int>{1}));
    EXPECT_EQ(Keyboard.UseCount(), 40);

    Key(SDL_SCANCODE_RIGHT, false);
    PollAndFrame();
    EXPECT_TRUE(Keyboard.Released(DIK_RIGHT));
    EXPECT_TRUE(Keyboard.AnyReleased());
    EXPECT_FALSE(Keyboard.Held(DIK_RIGHT, Keyboard_::DELAY, Keyboard_::RATE));
    EXPECT_EQ(Keyboard.UseCount(), 0);
    EXPECT_EQ(Keyboard.LastUsed(), 0 + 1);
    PollAndFrame();
    EXPECT_FALSE(Keyboard.Released(DIK_RIGHT));
}

TEST_F(KeyboardTest, HeldWithNoRateFiresOnlyOnTheFirstFrame) {
    Key(SDL_SCANCODE_A, true);
    int fired = 0;
    for (int frame = 1; frame <= 40; ++frame) {
        PollAndFrame();
        fired += Keyboard.Held(DIK_A, 0, 0);
    }
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(Keyboard.Held(DIK_B, 0, 3)) << "a key that is up never repeats";
}

TEST_F(KeyboardTest, InactiveWindowHidesKeysAndLosingFocusCountsAsRelease) {
    Key(SDL_SCANCODE_ESCAPE, true);
    PollAndFrame();
    ASSERT_TRUE(Keyboard.Pressed(DIK_ESCAPE));

    activeNow = false;
    EXPECT_FALSE(Keyboard.Pressed(DIK_ESCAPE));
    EXPECT_FALSE(Keyboard.Triggered(DIK_ESCAPE));
    EXPECT_FALSE(Keyboard.Held(DIK_ESCAPE, 1, 1));
    EXPECT_FALSE(Keyboard.AnyPressed());
    EXPECT_FALSE(Keyboard.AnyTriggered());
    EXPECT_TRUE(Keyboard._Pressed(DIK_ESCAPE));
    EXPECT_TRUE(Keyboard.Released(DIK_ESCAPE));
    EXPECT_TRUE(Keyboard.AnyReleased());
    EXPECT_FALSE(Keyboard.Released(DIK_F1)) << "a key that is up was not let go";
    EXPECT_FALSE(inputEngine.PauseButtonPressed());
    EXPECT_FALSE(inputEngine.BackButtonPressed());

    // Already inactive at the last check: nothing is released any more.
    activeBefore = false;
    EXPECT_FALSE(Keyboard.Released(DIK_ESCAPE));
    EXPECT_FALSE(Keyboard.AnyReleased());
}

TEST_F(KeyboardTest, ResetLeavesNothingTriggeredOrReleased) {
    Key(SDL_SCANCODE_W, true);
    PollAndFrame();
    Poll();
    inputEngine.Reset();
    EXPECT_TRUE(Keyboard.Pressed(DIK_W));
    EXPECT_FALSE(Keyboard.Triggered(DIK_W));
    EXPECT_FALSE(Keyboard.AnyTriggered());
    EXPECT_FALSE(Keyboard.AnyReleased());
    Key(SDL_SCANCODE_W, false);
    PollAndFrame();
    EXPECT_TRUE(Keyboard.Released(DIK_W));
}

// The reset of a screen that loads (a dialog opening) forgets the keys'
// states, not what was typed and not yet taken: a name typed as the dialog
// opens is typed in its first frame. What a frame took is not typed again.
TEST_F(KeyboardTest, KeysTypedBeforeAResetAreTypedInTheFrameAfterIt) {
    Key(SDL_SCANCODE_X, true);
    Key(SDL_SCANCODE_X, false);
    PollAndFrame();
    ASSERT_EQ(Keyboard.GetFramesKeys(nullptr), "x");
    for (SDL_Scancode key : {SDL_SCANCODE_A, SDL_SCANCODE_B}) {
        Key(key, true);
        Key(key, false);
    }
    Poll();
    inputEngine.Reset();
    Key(SDL_SCANCODE_C, true);
    Key(SDL_SCANCODE_C, false);
    PollAndFrame();
    EXPECT_EQ(Keyboard.GetFramesKeys(nullptr), "abc");
    EXPECT_FALSE(Keyboard.Triggered(DIK_A)) << "the states are forgotten";
    PollAndFrame();
    EXPECT_EQ(Keyboard.GetFramesKeys(nullptr), "");
}

TEST_F(KeyboardTest, TypedCharactersFollowShiftAndCapsLock) {
    struct Case {
        std::vector<SDL_Scancode> keys;
        bool caps;
        std::string typed;
    };
    const Case cases[] = {
        {{SDL_SCANCODE_A}, false, "a"},
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_A}, false, "A"},
        {{SDL_SCANCODE_A}, true, "A"},
        {{SDL_SCANCODE_RSHIFT, SDL_SCANCODE_A}, true, "a"},
        {{SDL_SCANCODE_1}, false, "1"},
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_1}, false, "!"},
        {{SDL_SCANCODE_1}, true, "1"},
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_EQUALS}, true, "+"},
        {{SDL_SCANCODE_APOSTROPHE}, false, "'"},
        {{SDL_SCANCODE_RSHIFT, SDL_SCANCODE_APOSTROPHE}, false, "\""},
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_SPACE}, false, " "},
        {{SDL_SCANCODE_RETURN}, false, "\n"},
        {{SDL_SCANCODE_TAB}, false, "\t"},
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_GRAVE}, false, "~"},
        {{SDL_SCANCODE_F1}, false, ""},
        {{SDL_SCANCODE_LSHIFT}, true, ""},
        // Keys of one frame come in the order they went down.
        {{SDL_SCANCODE_Z, SDL_SCANCODE_A, SDL_SCANCODE_SLASH, SDL_SCANCODE_2}, false, "za/2"},
    };
    for (const Case& c : cases) {
        const Uint16 mod = c.caps ? KMOD_CAPS : KMOD_NONE;
        for (SDL_Scancode sc : c.keys) Key(sc, true, mod);
        PollAndFrame();
        EXPECT_EQ(Keyboard.GetFramesKeys(nullptr), c.typed) << "case typed \"" << c.typed << "\"";
        for (SDL_Scancode sc : c.keys) Key(sc, false, mod);
        PollAndFrame();
        EXPECT_EQ(Keyboard.GetFramesKeys(nullptr), "");
    }
}

TEST_F(KeyboardTest, TypedCharactersRepeatLikeHeldAndPassTheFilter) {
    Key(SDL_SCANCODE_7, true);
    Key(SDL_SCANCODE_K, true);
    std::string all, digits;
    bool filter[256] = {};
    for (char c = '0'; c <= '9'; ++c) filter[static_cast<unsigned char>(c)] = true;
    for (int frame = 1; frame <= 36; ++frame) {
        PollAndFrame();
        all += Keyboard.GetFramesKeys(nullptr);
        digits += Keyboard.GetFramesKeys(filter);
    }
    EXPECT_EQ(all, "7k7k7k7k");
    EXPECT_EQ(digits, "7777");
}

// Typing faster than the frames come: every key pressed since the last
// frame types once, in order, in the case and with the symbol its own Shift
// gave it, whatever the keys' state at the frame. A press with Ctrl held
// types nothing, and the system's repeat of a held key adds no press.
TEST_F(KeyboardTest, EveryPressSinceTheLastFrameTypesInOrderWithItsOwnShift) {
    struct Tap {
        SDL_Scancode key;
        bool shift = false;
        bool ctrl = false;
    };
    auto type = [](const std::vector<Tap>& taps) {
        for (const Tap& t : taps) {
            if (t.shift) Key(SDL_SCANCODE_LSHIFT, true);
            if (t.ctrl) Key(SDL_SCANCODE_LCTRL, true);
            Key(t.key, true);
            Key(t.key, false);
            if (t.ctrl) Key(SDL_SCANCODE_LCTRL, false);
            if (t.shift) Key(SDL_SCANCODE_LSHIFT, false);
        }
    };
    // "jumpBoost = jumpBoost + 1;" in three frames, a poll in the middle of each.
    const std::vector<Tap> first{{SDL_SCANCODE_J}, {SDL_SCANCODE_U},       {SDL_SCANCODE_M},
                                 {SDL_SCANCODE_P}, {SDL_SCANCODE_B, true}, {SDL_SCANCODE_O},
                                 {SDL_SCANCODE_O}, {SDL_SCANCODE_S},       {SDL_SCANCODE_T}};
    const std::vector<Tap> second{{SDL_SCANCODE_SPACE}, {SDL_SCANCODE_EQUALS},  {SDL_SCANCODE_SPACE},
                                  {SDL_SCANCODE_J},     {SDL_SCANCODE_U},       {SDL_SCANCODE_M},
                                  {SDL_SCANCODE_P},     {SDL_SCANCODE_B, true}, {SDL_SCANCODE_O},
                                  {SDL_SCANCODE_O},     {SDL_SCANCODE_S},       {SDL_SCANCODE_T}};
    const std::vector<Tap> third{{SDL_SCANCODE_SPACE},  {SDL_SCANCODE_EQUALS, true}, {SDL_SCANCODE_SPACE},
                                 {SDL_SCANCODE_1},      {SDL_SCANCODE_SEMICOLON},    {SDL_SCANCODE_A, false, true},
                                 {SDL_SCANCODE_1, true}};
    std::string typed;
    for (const auto* taps : {&first, &second, &third}) {
        const std::size_t half = taps->size() / 2;
        type(std::vector<Tap>(taps->begin(), taps->begin() + static_cast<std::ptrdiff_t>(half)));
        Poll();
        type(std::vector<Tap>(taps->begin() + static_cast<std::ptrdiff_t>(half), taps->end()));
        PollAndFrame();
        typed += Keyboard.GetFramesKeys(nullptr);
    }
    EXPECT_EQ(typed, "jumpBoost = jumpBoost + 1;!");

    // Held: the system's own repeats add nothing, the frames' repeat rule does.
    Key(SDL_SCANCODE_K, true);
    SDL_Event repeat{};
    repeat.type = SDL_KEYDOWN;
    repeat.key.repeat = 1;
    repeat.key.keysym.scancode = SDL_SCANCODE_K;
    inputEngine.HandleEvent(repeat);
    inputEngine.HandleEvent(repeat);
    PollAndFrame();
    EXPECT_EQ(Keyboard.GetFramesKeys(nullptr), "k");
    Key(SDL_SCANCODE_K, false);
    PollAndFrame();
    EXPECT_EQ(Keyboard.GetFramesKeys(nullptr), "");
}

TEST_F(KeyboardTest, KeysWithoutACodeAreIgnored) {
    Key(SDL_SCANCODE_F24, true);
    PollAndFrame();
    EXPECT_FALSE(Keyboard.AnyPressed());
    EXPECT_EQ(Keyboard.UseCount(), 0);
}

TEST_F(KeyboardTest, EachKeyCodeTranslatesAsTypedTextDoes) {
    struct Case {
        unsigned char key;
        Uint16 mod;
        bool shift;
        char typed;
    };
    const Case cases[] = {
        {DIK_A, KMOD_NONE, false, 'a'},       {DIK_A, KMOD_NONE, true, 'A'},      {DIK_A, KMOD_CAPS, false, 'A'},
        {DIK_A, KMOD_CAPS, true, 'a'},        {DIK_1, KMOD_CAPS, false, '1'},     {DIK_1, KMOD_NONE, true, '!'},
        {DIK_SLASH, KMOD_NONE, true, '?'},    {DIK_SPACE, KMOD_NONE, false, ' '}, {DIK_TAB, KMOD_NONE, false, '\t'},
        {DIK_RETURN, KMOD_NONE, false, '\n'}, {DIK_F6, KMOD_NONE, false, 0},      {DIK_UP, KMOD_NONE, true, 0},
        {DIK_BACK, KMOD_NONE, false, 0},      {0, KMOD_NONE, false, 0},           {255, KMOD_NONE, false, 0},
    };
    for (const Case& c : cases) {
        if (c.shift) Key(SDL_SCANCODE_LSHIFT, true, c.mod);
        Key(SDL_SCANCODE_F12, true, c.mod);  // brings the Caps Lock state along
        PollAndFrame();
        EXPECT_EQ(Keyboard.Character(c.key), c.typed) << "key " << int(c.key) << (c.shift ? " with Shift" : "");
        if (c.shift) Key(SDL_SCANCODE_LSHIFT, false, c.mod);
        Key(SDL_SCANCODE_F12, false, c.mod);
        PollAndFrame();
    }
}
