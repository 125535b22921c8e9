// The real program, headless, driven only by key and mouse events through the
// input layer: from the licence to the main menu, into the options (a volume
// dragged, rumble and full screen clicked), the customisation (a name typed,
// the red handle dragged), back, the how-to-play page left with the back key,
// the credits, and out; started again, it shows the same name and colour.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "platform/sound/SoundEngine.h"
#include "platform/window/GuiWindow.h"
#include "support/ScriptedProgram.h"
#include "support/WaitFor.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"

namespace {

using scripted::ProgramRun;

// From the licence to the main menu, as a player goes.
const char* const kToMainMenu = R"(
level Eula
wait 10
click 0.45 -0.4            # Accept
level HalvernSplash
wait 155
tap Space
level TeamSplash
wait 65
tap Return
level TitleScreen
wait 40
tap Space
level MainMenu
wait 40
)";

// Out of the main menu: Quit, then Quit on the confirmation.
const char* const kQuit = R"(
click -0.7 -0.39           # Quit
level QuitConfirm
wait 40
click -0.3 -0.15           # Quit
)";

// The settings sliders' handles travel 0.95 wide about the bar's centre.
constexpr float kHandleTravel = 0.475f;
float HandleX(float value) { return -kHandleTravel + 2.0f * kHandleTravel * value / 255.0f; }

State* Showing(const std::string& name) {
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevel() != nullptr && state->GetLevelName() == name) return state;
    return nullptr;
}

// The options screen's window is full screen (read from the window: the
// marks run between frames, with no current state).
bool FullScreen() {
    State* state = Showing("Options");
    return state != nullptr && state->window != nullptr && state->window->IsFullScreen();
}

// The newest shown state's window is full screen.
bool NewestFullScreen() {
    for (auto it = State::_list.rbegin(); it != State::_list.rend(); ++it)
        if (!(*it)->Deleted() && (*it)->window != nullptr) return (*it)->window->IsFullScreen();
    return false;
}

// Mouse buttons and the shift key pressed and let go by marks, on the game
// thread, through the input layer's entry as the scripted steps are.
class SettingsRunTest : public ProgramRun {
protected:
    void Feed(SDL_Event event) {
        inputEngine.HandleEvent(event);
        const std::uint32_t seen = inputEngine.PollCount();
        testsupport::WaitFor([&] { return inputEngine.PollCount() - seen >= 2; }, std::chrono::seconds(10),
                             std::chrono::microseconds(100));
    }
    // The left button at game point (x, y) of the newest window.
    void Button(bool down, float x, float y) {
        State* state = State::_list.empty() ? nullptr : State::_list.back();
        if (state == nullptr || state->window == nullptr) return;
        GUI::GuiWindow& w = *state->window;
        const GameArea area{w.GetX(), w.GetY(), w.GetWidth(), w.GetHeight(), w.GetResolution(), w.GetRenderHeight()};
        int px = 0, py = 0;
        GraphicsEngine::GameToScreen(area, x, y, px, py);
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = px;
        event.button.y = py;
        Feed(event);
    }
    void Shift(bool down) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.scancode = SDL_SCANCODE_LSHIFT;
        Feed(event);
    }
    // Drags the handle of the slider at height y from value `from` to `to`.
    static std::string Drag(const char* name, float y, float from, float to) {
        const std::string at = " " + std::to_string(y) + "\n";
        return std::string("point ") + std::to_string(HandleX(from)) + at + "mark down" + name + "\nwait 4\n" +
               "point " + std::to_string((HandleX(from) + HandleX(to)) / 2.0f) + at + "wait 4\n" + "point " +
               std::to_string(HandleX(to)) + at + "wait 4\n" + "mark up" + name + "\nwait 4\n";
    }

    static std::string NameOnScreen() {
        State* state = Showing("Customize");
        Object* const* text =
            state != nullptr ? FindVariable<Object*>(state->GetLevel()->GetMyObject("CharacterName"), enum_textObject)
                             : nullptr;
        ObjectData::Text::Variables* v = text != nullptr ? ObjectData::Text::Find(*text) : nullptr;
        return v != nullptr ? v->text : std::string("(no name box)");
    }
    static float SliderOnScreen(const char* name) {
        State* state = Showing("Customize");
        Widgets::ScrollBar::Variables* v =
            state != nullptr ? Widgets::ScrollBar::Find(state->GetLevel()->GetMyObject(name)) : nullptr;
        return v != nullptr ? v->value : -1.0f;
    }
};

TEST_F(SettingsRunTest, SettingsSetInTheScreensAreThereAfterARestart) {
    float musicFrom = 0.0f;
    int redFrom = 0;
    float music = -1.0f, musicMaster = -1.0f;
    bool rumbleBefore = false, rumbleAfter = false, fullBefore = false, fullAfter = false;
    std::string name;
    int red = -1, green = -1, blue = -1;
    std::string script = std::string(kToMainMenu) + R"(
click -0.7 -0.32           # Options
level Options
wait 40
mark options
)";
    // The handles stand where the values the program started with put them:
    // the script is completed once those are known.
    const std::string rest1 = R"(
mark volumes
click 0 -0.4               # rumble
wait 10
click 0 -0.22              # full screen
wait 10
mark toggled
click -0.35 -0.22          # Customize
level Customize
wait 40
click 0.18 -0.05           # into the name box, right of the name: the caret at its end
wait 5
)";
    std::string typing;
    for (int i = 0; i < 10; ++i) typing += "tap Backspace\nwait 3\n";
    typing +=
        "mark shiftDown\ntap G\nwait 3\nmark shiftUp\nwait 3\ntap L\nwait 3\ntap O\nwait 3\ntap X\nwait 3\ntap "
        "Backspace\n"
        "wait 3\ntap W\nwait 3\n";
    const std::string rest2 = R"(
mark customized
click 0.7 -0.4             # Back
level Options
wait 40
click 0.7 -0.4             # Main Menu
level MainMenu
wait 40
click -0.7 -0.18           # How To Play
level HowToPlayScreen
wait 40
tap Escape                 # the back key: at once to the main menu
level MainMenu
wait 40
click -0.7 -0.11           # Credits
level Credits
wait 40
click 0.7 -0.4             # Main Menu
level MainMenu
wait 40
)" + std::string(kQuit);

    // The run is planned as it goes: the marks read where the handles stand.
    std::map<std::string, scripted::Runner::Callback> marks;
    marks["options"] = [&] {
        musicFrom = GameVars().mVolume * 255.0f;
        redFrom = GameVars().playerRed;
        rumbleBefore = GameVars().rumbleOn;
        fullBefore = FullScreen();
    };
    marks["downMusic"] = [&] { Button(true, HandleX(musicFrom), 0.05f); };
    marks["upMusic"] = [&] { Button(false, HandleX(255.0f), 0.05f); };
    marks["downRed"] = [&] { Button(true, HandleX(static_cast<float>(redFrom)), -0.15f); };
    marks["upRed"] = [&] { Button(false, HandleX(200.0f), -0.15f); };
    marks["shiftDown"] = [&] { Shift(true); };
    marks["shiftUp"] = [&] { Shift(false); };
    marks["volumes"] = [&] {
        music = GameVars().mVolume;
        musicMaster = soundEngine.GetMusicMaster();
    };
    marks["toggled"] = [&] {
        rumbleAfter = GameVars().rumbleOn;
        fullAfter = FullScreen();
    };
    marks["customized"] = [&] {
        name = GameVars().playerName;
        red = GameVars().playerRed;
        green = GameVars().playerGreen;
        blue = GameVars().playerBlue;
    };
    // The defaults put the music at a half; the colour's red part is random.
    script += Drag("Music", 0.05f, 127.5f, 255.0f);
    script += rest1 + typing;
    // The red part starts random; it is set to 0 as the options open, so the
    // red handle starts at its left end.
    script += Drag("Red", -0.15f, 0.0f, 200.0f);
    script += rest2;
    marks["options"] = [&, first = marks["options"]] {
        first();
        GameVars().playerRed = 0;
        redFrom = 0;
    };
    const int status = Run(script, marks);
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);
    EXPECT_FLOAT_EQ(music, 1.0f) << "the music handle dragged to its right end";
    EXPECT_FLOAT_EQ(musicMaster, 1.0f) << "and the sound engine plays at that volume";
    EXPECT_NE(rumbleAfter, rumbleBefore) << "rumble clicked";
    EXPECT_NE(fullAfter, fullBefore) << "full screen clicked";
    EXPECT_EQ(name, "Glow");
    EXPECT_GE(red, 195);
    EXPECT_LE(red, 205);

    // Started again, the program shows the same name and colour.
    TearDown();
    SetUp();
    std::string seenName;
    float seenRed = -1.0f, seenGreen = -1.0f, seenBlue = -1.0f, seenMusic = -1.0f;
    const int again =
        Run(std::string(kToMainMenu) + R"(
click -0.7 -0.32           # Options
level Options
wait 40
mark music
click -0.35 -0.22          # Customize
level Customize
wait 40
mark seen
click 0.7 -0.4             # Back
level Options
wait 40
click 0.7 -0.4             # Main Menu
level MainMenu
wait 40
)" + std::string(kQuit),
            {{"music", [&] { seenMusic = GameVars().mVolume; }}, {"seen", [&] {
                                                                      seenName = NameOnScreen();
                                                                      seenRed = SliderOnScreen("RedSlider");
                                                                      seenGreen = SliderOnScreen("GreenSlider");
                                                                      seenBlue = SliderOnScreen("BlueSlider");
                                                                  }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_EQ(again, 0);
    EXPECT_EQ(seenName, "Glow");
    EXPECT_EQ(seenRed, static_cast<float>(red));
    EXPECT_EQ(seenGreen, static_cast<float>(green));
    EXPECT_EQ(seenBlue, static_cast<float>(blue));
    EXPECT_FLOAT_EQ(seenMusic, 1.0f);
}

// The choice of windowed play, made with F4 or with the options' toggle, is
// what the next start of the program shows from its licence on: three runs
// reading the one progress file the runs before them left.
TEST_F(SettingsRunTest, TheWindowedChoiceOfF4OrTheOptionsToggleIsKeptForTheNextStart) {
    const char* const kOptionsToggle = R"(
click -0.7 -0.32           # Options
level Options
wait 40
click 0 -0.22              # full screen
wait 10
click 0.7 -0.4             # Main Menu
level MainMenu
wait 40
)";
    struct Start {
        const char* what;
        const char* change;  // script steps in the main menu
        bool startsFull;     // at the licence and at the main menu
        bool leavesFull;     // after the change
    };
    const Start starts[] = {
        {"a first start, F4 in the main menu", "tap F4\nwait 20\n", true, false},
        {"started again, the options' toggle", kOptionsToggle, false, true},
        {"started a third time, nothing changed", "", true, true},
    };
    for (const Start& r : starts) {
        SCOPED_TRACE(r.what);
        if (&r != starts) {
            // The next start keeps the home the one before used, as a
            // player's next start of the program does.
            TearDown();
            SetUp();
        }
        bool atLicence = !r.startsFull, atMenu = !r.startsFull, after = !r.leavesFull;
        const int status = Run(std::string("level Eula\nwait 10\nmark licence\n") + kToMainMenu + "mark menu\n" +
                                   r.change + "mark after\n" + kQuit,
                               {{"licence", [&] { atLicence = NewestFullScreen(); }},
                                {"menu", [&] { atMenu = NewestFullScreen(); }},
                                {"after", [&] { after = NewestFullScreen(); }}});
        EXPECT_EQ(runner->Failure(), "");
        EXPECT_EQ(status, 0);
        EXPECT_EQ(atLicence, r.startsFull);
        EXPECT_EQ(atMenu, r.startsFull);
        EXPECT_EQ(after, r.leavesFull);
    }
}

}  // namespace
