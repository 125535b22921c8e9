// The way into play: the licence, the splashes, the title, the main menu and
// the quit confirmation, frame by frame.
#include <functional>
#include <set>

#include "framework/GameVariables.h"
#include "screens/MenuVariants.h"
#include "screens/PlayWorld.h"
#include "screens/ScreenInput.h"
#include "screens/Splash.h"
#include "widgets/Text.h"
#include "widgets/TextMsg.h"

using playtest::PlayWorld;

namespace {

bool& AnyInput() {
    static bool held = false;
    return held;
}
bool& Escape() {
    static bool down = false;
    return down;
}

int& LogicFrame() {
    static int frame = 0;
    return frame;
}

class StartupScreensTest : public PlayWorld {
protected:
    void SetUp() override {
        PlayWorld::SetUp();
        AnyInput() = false;
        Escape() = false;
        screenInput.anythingPressed = [] { return AnyInput(); };
        screenInput.escapeTriggered = [] { return Escape(); };
        screenInput.remoteBackPressed = [] { return false; };
    }
    void TearDown() override {
        ResetScreenInput();
        ConnectionDropped = false;
        PlayWorld::TearDown();
    }

    // Opens level in a fresh state and runs its first frame.
    void Open(const char* level) {
        state = NewState(level);
        Frame();
        ASSERT_EQ(state->GetLevelName(), level);
    }

    // The frame (counted from the screen's first) on which its "Logic" first
    // ran, with input held on the frames for which held answers true; 0 when
    // it never ran within limit frames.
    int FirstLogicWith(const char* level, const std::function<bool(int)>& held, int limit = 400) {
        AnyInput() = held(1);
        Open(level);
        LogicFrame() = 0;
        static int frame;
        frame = 1;
        Entity* screen = state->GetLevel();
        Event logic = screen->GetEvent("Logic");
        static Event* original;
        original = &logic;
        screen->SetEvent(
            "Logic", +[](Entity* self, Entity* other) {
                if (LogicFrame() == 0) LogicFrame() = frame;
                (*original)(self, other);
            });
        for (frame = 2; frame <= limit && LogicFrame() == 0; ++frame) {
            AnyInput() = held(frame);
            Frame();
        }
        AnyInput() = false;
        return LogicFrame();
    }
    // The same with a key pressed on frame keyFrame only (0: never).
    int FirstLogic(const char* level, int keyFrame, int limit = 400) {
        return FirstLogicWith(
            level, [keyFrame](int f) { return f == keyFrame; }, limit);
    }
};

TEST_F(StartupScreensTest, SplashesEndAtOnceOnAPress) {
    struct Case {
        const char* level;
        int keyFrame;
        int ends;
    };
    const Case cases[] = {
        {"HalvernSplash", 2, 2},      // a press ends it at once, however early
        {"HalvernSplash", 10, 10},    //
        {"HalvernSplash", 200, 200},  //
        {"HalvernSplash", 0, 300},    // none: it ends by itself
        {"TeamSplash", 10, 10},       //
        {"TeamSplash", 0, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " key on " + std::to_string(c.keyFrame));
        EXPECT_EQ(FirstLogic(c.level, c.keyFrame), c.ends);
    }
}

TEST_F(StartupScreensTest, TheSplashesLeadOnThroughTheFadeToTheTitle) {
    Open("HalvernSplash");
    Frames(300 + 40);
    EXPECT_EQ(state->GetLevelName(), "TeamSplash");
    Frames(300 + 40);
    EXPECT_EQ(state->GetLevelName(), "TitleScreen");
}

TEST_F(StartupScreensTest, TheTitleFadesOnThe241stFrameAfterTheFirstInput) {
    EXPECT_EQ(FirstLogic("TitleScreen", 20), 20 + 241);
    EXPECT_EQ(FirstLogic("TitleScreen", 0, 600), 0) << "the title waits for input";
}

TEST_F(StartupScreensTest, APressHeldFromBeforeSkipsNothingANewPressSkipsTheMoonsShatter) {
    struct Case {
        const char* what;
        const char* level;
        bool (*held)(int frame);
        int ends;
    };
    const Case cases[] = {
        {"a splash opened with a key held", "HalvernSplash", [](int f) { return f < 100; }, 300},
        {"the key let go and pressed again", "TeamSplash", [](int f) { return f < 20 || f == 40; }, 40},
        {"the title's key held through the shatter", "TitleScreen", [](int f) { return f >= 20 && f < 200; }, 261},
        {"a second press during the shatter", "TitleScreen", [](int f) { return f == 20 || f == 50; }, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FirstLogicWith(c.level, c.held), c.ends);
    }
}

TEST_F(StartupScreensTest, EscapeQuitsFromTheLicenceTheSplashesAndTheTitle) {
    for (const char* level : {"Eula", "HalvernSplash", "TeamSplash", "TitleScreen"}) {
        SCOPED_TRACE(level);
        Open(level);
        Escape() = true;
        Frame();
        Escape() = false;
        EXPECT_TRUE(state->Deleted()) << "the state closed";
        State::_list.remove(state);
        delete state;
        state = nullptr;
    }
}

TEST_F(StartupScreensTest, TheLicenceShowsItsTermsAndItsTwoAnswers) {
    Open("Eula");
    int texts = 0, buttons = 0;
    for (Object* o : state->Objects()) {
        if (auto* t = ObjectData::Text::Find(o); t != nullptr && t->text.size() > 1800) ++texts;
        if (o->GetType() == "Button") ++buttons;
    }
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(buttons, 2);
    ASSERT_NE(state->GetLevel()->GetMyObject("Cursor"), nullptr);
    EXPECT_FALSE(*FindVariable<bool>(state->GetLevel()->GetMyObject("Cursor"), enum_visible));
}

TEST_F(StartupScreensTest, ConnectionDroppedIsShownOnce) {
    ConnectionDropped = true;
    Open("MainMenu");
    EXPECT_FALSE(ConnectionDropped);
    auto message = [&] {
        Entity* line = state->GetLevel()->GetMyObject("NetError");
        auto* life = FindVariable<std::int32_t>(line, enum_life);
        Object* text = *FindVariable<Object*>(line, enum_textObj);
        return std::make_pair(life != nullptr ? *life : -1, ObjectData::Text::Find(text)->text);
    };
    EXPECT_EQ(message().second, "Connection dropped.");
    EXPECT_GT(message().first, 100);
    State::SetLevel(state, "QuitConfirm");
    Frame();
    State::SetLevel(state, "MainMenu");
    Frame();
    EXPECT_NE(message().second, "Connection dropped.");
}

TEST_F(StartupScreensTest, TheMainMenuShowsOnlyTheButtonsOfRegisteredScreens) {
    Open("MainMenu");
    std::set<std::string> labels;
    for (Object* o : state->Objects())
        if (o->GetType() == "TextButton") labels.insert(MenuVariants::Label(o));
    EXPECT_TRUE(labels.count("#0x444434#Singleplayer"));
    EXPECT_TRUE(labels.count("#0x444434#Quit"));
    for (const auto& [label, level] : {std::pair{"#0x444434#Credits", "Credits"},
                                       {"#0x444434#Options", "Options"},
                                       {"#0x444434#Multiplayer", "Lobby"},
                                       {"#0x444434#Level Editor", "LevelEditor"},
                                       {"#0x444434#How To Play", "HowToPlayScreen"}})
        EXPECT_EQ(labels.count(label) == 1, Level::_IsRegistered(level)) << label;
    EXPECT_EQ(CurrentLevelIndex, -1);
}

}  // namespace
