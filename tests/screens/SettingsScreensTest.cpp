// The options and customisation screens: what they build, the name kept
// within what the save file keeps, and (with the real sliders, text box and
// menu buttons) what the player's dragging, typing and clicking sets.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/GameVariables.h"
#include "framework/SaveFile.h"
#include "platform/graphics/SheetData.h"
#include "screens/Customize.h"
#include "screens/Options.h"
#include "screens/ScreenWorld.h"
#include "support/SheetDataBuilder.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"

using namespace screentest;

namespace {

TEST(NameLimitTest, CharactersTypedPastTheLimitAreTakenOutAtTheCaret) {
    using LevelData::Customize::LimitName;
    const std::string full(kSavedNameLength, 'a');
    struct Case {
        std::string text;
        std::int32_t caret;
        std::string kept;
        std::int32_t caretAfter;
    } cases[] = {
        {full, 127, full, 127},                                             // at the limit: unchanged
        {full + "b", 128, full, 127},                                       // one typed at the end
        {full + "bc", 129, full, 127},                                      // two in one frame
        {"x" + full, 1, full, 0},                                           // typed at the front
        {std::string(60, 'a') + "z" + std::string(67, 'a'), 61, full, 60},  // typed in the middle
        {full + "b", -1, full, -1},                                         // no caret: the end goes
        {"", 0, "", 0},
    };
    for (Case& c : cases) {
        std::string text = c.text;
        std::int32_t caret = c.caret;
        LimitName(text, caret);
        EXPECT_EQ(text, c.kept) << c.text.size() << " at " << c.caret;
        EXPECT_EQ(caret, c.caretAfter) << c.text.size() << " at " << c.caret;
    }
}

class SettingsScreensTest : public ScreenWorld {};

TEST_F(SettingsScreensTest, OptionsMarksItselfAsTheWayBackAndLabelsItsVolumes) {
    GameVars().backToWhere = "Lobby";
    Open("Options");
    ASSERT_EQ(LevelName(), "Options");
    EXPECT_EQ(GameVars().backToWhere, "Options");
    std::vector<std::string> labels;
    for (auto* text : Texts())
        if (text->text.find("Volume") != std::string::npos) labels.push_back(text->text);
    EXPECT_EQ(labels, (std::vector<std::string>{"#0xC4BDAD#BGM Volume", "#0xC4BDAD#SFX Volume"}));
    EXPECT_EQ(Backgrounds(), (std::vector<std::string>{"BACK Main Menu", "nightSky"}));
}

TEST_F(SettingsScreensTest, TheBackKeyLeavesBothSettingsScreensForTheMainMenu) {
    for (const char* level : {"Options", "Customize"}) {
        Open(level);
        ASSERT_EQ(LevelName(), level);
        Key(SDL_SCANCODE_ESCAPE, true);
        Frame();
        EXPECT_EQ(LevelName(), "MainMenu") << level;
        Key(SDL_SCANCODE_ESCAPE, false);
        Frame();
    }
}

TEST_F(SettingsScreensTest, CustomizeLabelsItsControls) {
    Open("Customize");
    ASSERT_EQ(LevelName(), "Customize");
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[texts.size() - 4]->text, "#0xFFFFFFD0#Character Name:");
    EXPECT_EQ(texts[texts.size() - 1]->text, "#0x8C8CFFFF#Blue:");
    EXPECT_FLOAT_EQ(texts[texts.size() - 1]->settings.y, -0.81f);
}

// ---- With the real sliders, text box and buttons ------------------------------

// What the sound hooks heard.
struct Heard {
    float music = -1.0f, sound = -1.0f;
    int clicks = 0;
};
Heard heard;

// The screens through the pointer and the keys: what the hooks hear of the
// sound engine, and a small face so the name box lays its letters out.
class SettingsInputTest : public ScreenWorld {
protected:
    void SetUp() override {
        ScreenWorld::SetUp();
        std::vector<float> widths(128, 0.0f);
        for (int c = 32; c < 127; ++c) widths[static_cast<std::size_t>(c)] = 1.0f;
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(1).Set("white", 1, 1, 1, 0);
        b.Int(0).Int(0).Int(512).Int(512).Int(1).FontWithWidths("default", 0, widths);
        LoadSheetData(b.bytes.data(), b.bytes.size(), nullptr);
        heard = Heard{};
        ScreenSteps::hooks.setMusicVolume = [](float v) { heard.music = v; };
        ScreenSteps::hooks.setSoundVolume = [](float v) { heard.sound = v; };
        ScreenSteps::hooks.playSound = [](int sound, float volume) {
            if (sound == BUTTON_CLICK && volume == 1.0f) ++heard.clicks;
        };
    }
    void TearDown() override {
        ScreenSteps::ResetHooks();
        FreeSheetData();
        ScreenWorld::TearDown();
    }

    Widgets::ScrollBar::Variables& Slider(const char* name) {
        return *Widgets::ScrollBar::Find(state->GetLevel()->GetMyObject(name));
    }
    // The game point of a slider's handle.
    D3DXVECTOR3 Handle(const char* name) { return *FindVariable<D3DXVECTOR3>(Slider(name).dragButton, enum_position); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Grabs the handle, moves it to x and lets go.
    void DragTo(const char* name, float x) {
        const D3DXVECTOR3 at = Handle(name);
        PointAt(at.x, at.y);
        Frame();
        LeftButton(true);
        Frame();
        PointAt((at.x + x) / 2.0f, at.y);
        Frame();
        PointAt(x, at.y);
        Frames(2);
        LeftButton(false);
        Frames(2);
    }
    void Tap(SDL_Scancode key) {
        Key(key, true);
        Frame();
        Key(key, false);
        Frame();
    }
    void Click(float x, float y) {
        PointAt(x, y);
        Frame();
        LeftButton(true);
        Frame();
        LeftButton(false);
        Frame();
    }
    ObjectData::Text::Variables& NameBox() {
        return *ObjectData::Text::Find(
            *FindVariable<Object*>(state->GetLevel()->GetMyObject("CharacterName"), enum_textObject));
    }
};

TEST_F(SettingsInputTest, EachVolumeHandleDraggedToItsEndsGivesExactlyNoughtAndOne) {
    GameVars().mVolume = GameVars().sVolume = 0.5f;
    Open("Options");
    Frames(3);
    struct Case {
        const char* slider;
        float* heardVolume;
        float* gameVolume;
    } cases[] = {{"MusicSlider", &heard.music, &GameVars().mVolume},
                 {"SoundSlider", &heard.sound, &GameVars().sVolume}};
    for (const Case& c : cases) {
        DragTo(c.slider, 0.8f);
        EXPECT_EQ(Slider(c.slider).value, 255.0f) << c.slider;
        EXPECT_EQ(*c.heardVolume, 1.0f) << c.slider;
        EXPECT_EQ(*c.gameVolume, 1.0f) << c.slider;
        DragTo(c.slider, -0.8f);
        EXPECT_EQ(*c.heardVolume, 0.0f) << c.slider;
        EXPECT_EQ(*c.gameVolume, 0.0f) << c.slider;
    }
}

TEST_F(SettingsInputTest, HoldingTheEffectHandleClicksEveryTwentyFramesAndLettingGoResetsTheCount) {
    Open("Options");
    Frames(3);
    const D3DXVECTOR3 at = Handle("SoundSlider");
    PointAt(at.x, at.y);
    Frame();
    LeftButton(true);
    Frame();  // the handle is taken in this frame's pass, after the screen's step
    Frames(60);
    EXPECT_EQ(heard.clicks, 3);
    Frames(10);
    LeftButton(false);
    Frames(2);
    EXPECT_EQ(VariablesOf<LevelData::Options::Variables>(state->GetLevel()).t_val, 0.0f);
    PointAt(at.x, at.y);
    Frame();
    LeftButton(true);
    Frames(20);
    EXPECT_EQ(heard.clicks, 3) << "the count starts again from nothing";
    Frames(2);
    EXPECT_EQ(heard.clicks, 4);
    LeftButton(false);
    Frame();
}

TEST_F(SettingsInputTest, ColourPartsSurviveTenVisitsUnchanged) {
    for (int part : {0, 1, 127, 128, 200, 255}) {
        GameVars().playerRed = GameVars().playerGreen = GameVars().playerBlue = part;
        for (int visit = 0; visit < 10; ++visit) {
            Open("Customize");
            Frames(3);
            Open("MainMenu");
        }
        EXPECT_EQ(GameVars().playerRed, part);
        EXPECT_EQ(GameVars().playerGreen, part);
        EXPECT_EQ(GameVars().playerBlue, part);
    }
}

TEST_F(SettingsInputTest, DraggingTheRedHandleSetsTheRedPartInWholeSteps) {
    GameVars().playerRed = 0;
    Open("Customize");
    Frames(3);
    DragTo("RedSlider", 0.8f);
    EXPECT_EQ(GameVars().playerRed, 255);
    DragTo("RedSlider", 0.0f);
    const float value = Slider("RedSlider").value;
    EXPECT_EQ(value, std::trunc(value)) << "whole steps";
    EXPECT_EQ(GameVars().playerRed, static_cast<int>(value));
    EXPECT_NEAR(value, 127.5f, 2.0f);
}

TEST_F(SettingsInputTest, TypingSetsTheNameWithBackspaceAndShiftAndAnEmptyBoxAnEmptyName) {
    GameVars().playerName = "Ab";
    Open("Customize");
    Frames(2);
    EXPECT_EQ(NameBox().text, "Ab");
    Click(0.15f, -0.05f);  // into the box, right of the letters: the caret at the end
    Tap(SDL_SCANCODE_BACKSPACE);
    Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(GameVars().playerName, "") << "an empty box, an empty name";
    Key(SDL_SCANCODE_LSHIFT, true);
    Tap(SDL_SCANCODE_M);
    Key(SDL_SCANCODE_LSHIFT, false);
    Frame();
    for (SDL_Scancode key : {SDL_SCANCODE_O, SDL_SCANCODE_X, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_T, SDL_SCANCODE_H})
        Tap(key);
    EXPECT_EQ(GameVars().playerName, "Moth");
}

TEST_F(SettingsInputTest, AHundredAndTwentyEighthCharacterIsRefused) {
    GameVars().playerName = std::string(kSavedNameLength - 1, 'a');
    Open("Customize");
    Frames(2);
    Click(0.15f, -0.05f);
    // The caret to the end of the long name, where the next letters go.
    NameBox().settings.cursorLoc = NameBox().settings.selectedStart = static_cast<std::int32_t>(kSavedNameLength - 1);
    Tap(SDL_SCANCODE_B);
    EXPECT_EQ(GameVars().playerName.size(), kSavedNameLength);
    EXPECT_EQ(GameVars().playerName.back(), 'b');
    Tap(SDL_SCANCODE_C);
    EXPECT_EQ(GameVars().playerName.size(), kSavedNameLength);
    EXPECT_EQ(NameBox().text, GameVars().playerName) << "what is seen is what is kept";
    EXPECT_EQ(NameBox().text.back(), 'b');
}

TEST_F(SettingsInputTest, TheBackButtonReturnsWhereTheScreenWasOpenedFrom) {
    for (const char* from : {"Options", "Lobby", "MakeGame"}) {
        if (std::string(from) != "Options") Stub(from);
        GameVars().backToWhere = from;
        Open("Customize");
        Frames(40);  // the fade in ends
        Click(0.7f, -0.4f);
        Frames(40);  // the fade out, then the switch
        EXPECT_EQ(LevelName(), from);
        Open("MainMenu");
    }
}

}  // namespace
