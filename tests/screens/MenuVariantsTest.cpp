// The menu variants made by name, and what their clicks and frames do.
#include <cmath>
#include <set>

#include "framework/GameVariables.h"
#include "framework/Progress.h"
#include "networking/Match.h"
#include "objects/Player.h"
#include "screens/MenuVariants.h"
#include "screens/PlayWorld.h"
#include "screens/ScreenInput.h"
#include "screens/TitleInstruction.h"
#include "support/TempUserFolder.h"
#include "widgets/Cursor.h"

using playtest::PlayWorld;

namespace {

struct Expected {
    const char* name;
    const char* base;
    bool placed;  // a position is set
    float x, y, z;
    float w, h;           // negative: no size is set
    const char* texture;  // null: not set
    const char* label;    // null: no label object
};

constexpr float kWide = 0.39133334f, kTall = 0.08533334f;

const Expected kTable[] = {
    {"CancelButton", "Button", true, 0.2f, -0.15f, 0, 0.3f, 0.1f, "cancelButton", nullptr},
    {"ContinuePlaying", "Button", true, 0.3f, -0.15f, 0, kWide, kTall, "continuePlayingButton", nullptr},
    {"counterToggleButton", "Button", true, 0.7f, -0.22f, 0, 0.3f, 0.1f, "counterToggleOnButton", nullptr},
    {"customGame", "TextButton", true, -0.7f, -0.03f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Custom Game"},
    {"CustomizeButton", "Button", true, -0.35f, -0.22f, 0, 0.3f, 0.1f, "customizeButton", nullptr},
    {"DisplayCharacter", "Player", true, 0.6f, 0.2f, -0.8f, 0.4f, 0.4f, nullptr, nullptr},
    {"DisplayCharacterBack", "Graphic", true, -0.7f, -0.32f, -1.0f, 0.3f, 0.3f, "baseButton", nullptr},
    {"EULAACCEPT", "Button", true, 0.45f, -0.4f, 0, 0.3f, 0.1f, "EULA ACCEPT", nullptr},
    {"EULADECLINE", "Button", true, -0.45f, -0.4f, 0, 0.3f, 0.1f, "EULA DECLINE", nullptr},
    {"extendedButton", "TextButton", true, -0.6f, -0.35f, 0, kWide, kTall, "optionsButton", ""},
    {"Facebook", "Button", true, 0.75f, -0.3f, 0, 0.24f, 0.0735f, "facebook", nullptr},
    {"FullScreenButton", "Button", true, 0, -0.22f, 0, 0.3f, 0.1f, "fullscreenButton", nullptr},
    {"HeldButton", "Button", false, 0, 0, 0, -1, -1, nullptr, nullptr},
    {"hostGame", "Button", true, -0.6f, 0.3f, 0, 0.3f, 0.1f, "hostGameButton", nullptr},
    {"Instructions", "Button", true, -0.6f, -0.15f, 0, kWide, kTall, "howToPlayButton", nullptr},
    {"joinGame", "Button", true, 0.6f, -0.4f, 0, 0.3f, 0.1f, "joinGameButton", nullptr},
    {"MMCursor", "Cursor", false, 0, 0, 0, 40, 40, "moonShard", nullptr},
    {"MMSuperCursor", "MMCursor", false, 0, 0, 0, 80, 80, "moonShard", nullptr},
    {"NetCursor", "Cursor", false, 0, 0, 0, 0.05f, 0.05f, "Cursor A", nullptr},
    {"OpenButton", "Button", true, 0.2f, -0.15f, 0, 0.3f, 0.1f, "openButton", nullptr},
    {"PauseMenuHowToPlay", "TextButton", true, 0, 0, 100, 0.4f, kTall, "baseButton", "#0x444434#How To Play"},
    {"PauseMenuResumeButton", "TextButton", true, 0, 0.3f, 100, 0.4f, kTall, "baseButton", "#0x444434#Resume"},
    {"PauseMenuReturnMainMenu", "TextButton", true, 0, -0.3f, 100, 0.4f, kTall, "baseButton", "#0x444434#Main Menu"},
    {"Quickstart", "TextButton", true, -0.7f, 0.04f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Quickstart"},
    {"Quit", "Button", true, -0.6f, -0.45f, 0, kWide, kTall, "QuitButton", nullptr},
    {"QuitButton", "Button", true, -0.3f, -0.15f, 0, kWide, kTall, "quitButton", nullptr},
    {"quitToMainMenu", "TextButton", true, -0.7f, -0.04f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Main Menu"},
    {"resolutionToggleButton", "Button", true, -0.35f, -0.4f, 0, 0.3f, 0.1f, "resolutionAutoButton", nullptr},
    {"ReturnToPause", "Button", true, 0, 0, 0, 0.3f, 0.1f, "backButton", nullptr},
    {"rummbleToggleButton", "Button", true, 0, -0.4f, 0, 0.3f, 0.1f, "rummbleToggleOnButton", nullptr},
    {"sliderA", "VSlider", true, 0.05f, -0.09f, 0, 0.03f, 0.79f, nullptr, nullptr},
    {"sliderB", "HSlider", true, 0.15f, -0.09f, 0, 0.5f, 0.04f, nullptr, nullptr},
    {"StartGame", "Button", true, -0.6f, 0.05f, 0, kWide, kTall, "newGameButton", nullptr},
    {"StartServer", "TextButton", true, 0.65f, -0.4f, 0, 0.4f, 0.1f, "baseButton", "#0x444434#Start Game"},
    {"TestSoundButton", "Button", true, -0.6f, -0.05f, 0, 0.3f, 0.1f, "continueButton", nullptr},
    {"TitleCharacter", "Player", true, 0.6f, 0.2f, -0.8f, 1, 1, nullptr, nullptr},
    {"toCredits", "TextButton", true, -0.7f, -0.11f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Credits"},
    {"toCustomize", "TextButton", true, -0.7f, -0.43f, 0, 0.28f, 0.06f, "baseButton", "#0x444434#Customize"},
    {"toInstructions", "TextButton", true, -0.7f, -0.18f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#How To Play"},
    {"toLvEditor", "TextButton", true, -0.7f, -0.25f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Level Editor"},
    {"toMMenu", "TextButton", true, 0.7f, -0.4f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Main Menu"},
    {"toMultiplayer", "TextButton", true, -0.7f, -0.04f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Multiplayer"},
    {"toOptions", "TextButton", true, -0.7f, -0.32f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Options"},
    {"toQuit", "TextButton", true, -0.7f, -0.39f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Quit"},
    {"toSingleplayer", "TextButton", true, -0.7f, 0.03f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Singleplayer"},
    {"toWherever", "TextButton", true, 0.7f, -0.4f, 0, 0.35f, 0.07f, "baseButton", "#0x444434#Back"},
    {"Twitter", "Button", true, 0.75f, -0.4f, 0, 0.24f, 0.0835f, "twitter", nullptr},
    {"wiiToggleButton", "Button", true, 0.35f, -0.22f, 0, 0.3f, 0.1f, "wiiToggleOnButton", nullptr},
    {"xboxToggleButton", "Button", true, 0.35f, -0.4f, 0, 0.3f, 0.1f, "xBoxToggleOnButton", nullptr},
};

std::vector<std::string>& Opened() {
    static std::vector<std::string> pages;
    return pages;
}
bool& RemoteConnected() {
    static bool connected = false;
    return connected;
}
bool& ClosePressed() {
    static bool pressed = false;
    return pressed;
}
int& Loads(const std::string& level) {
    static std::map<std::string, int> loads;
    return loads[level];
}
template <const char* Name>
void CountLoads(Entity*, const Entity*) {
    ++Loads(Name);
    Engine::_MakeCopy("Behavior", 5.0);
}
constexpr char kTarget[] = "Target";

class MenuVariantsTest : public PlayWorld {
protected:
    void SetUp() override {
        PlayWorld::SetUp();
        MenuVariants::hooks.openPage = [](const char* address) { Opened().emplace_back(address); };
        MenuVariants::hooks.remoteConnected = [] { return RemoteConnected(); };
        MenuVariants::hooks.closePressed = [] { return ClosePressed(); };
        Opened().clear();
        RemoteConnected() = true;
        ClosePressed() = false;
        world::RegisterLevel("Blank", &objtest::BuildPlayLevel);
        state = NewState("Blank");
        Frame();
    }
    void TearDown() override {
        MenuVariants::ResetHooks();
        ResetScreenInput();
        PlayWorld::TearDown();
    }
    Object* Make(const char* type, const char* name = "") { return Object::MakeCopy(state, type, name); }
    void Click(Entity* button) { Entity::_DoEvent("Logic", button, button); }
};

TEST_F(MenuVariantsTest, EachVariantIsMadeByNameWithItsBasePlaceSizePictureAndLabel) {
    for (const Expected& e : kTable) {
        SCOPED_TRACE(e.name);
        auto found = Object::_exobjects.find(e.name);
        ASSERT_NE(found, Object::_exobjects.end()) << "not registered";
        EXPECT_EQ(found->second->BaseName(), e.base);
        Object* o = Make(e.name);
        ASSERT_NE(o, nullptr);
        if (e.placed) {
            const auto* p = FindVariable<D3DXVECTOR3>(o, enum_position);
            ASSERT_NE(p, nullptr);
            EXPECT_FLOAT_EQ(p->x, e.x);
            EXPECT_FLOAT_EQ(p->y, e.y);
            EXPECT_FLOAT_EQ(p->z, e.z);
        }
        if (e.w >= 0.0f) {
            const auto* s = FindVariable<D3DXVECTOR2>(o, enum_size);
            ASSERT_NE(s, nullptr);
            EXPECT_FLOAT_EQ(s->x, e.w);
            EXPECT_FLOAT_EQ(s->y, e.h);
        }
        if (e.texture != nullptr) {
            const auto* t = FindVariable<const char*>(o, enum_texture);
            ASSERT_NE(t, nullptr);
            EXPECT_STREQ(*t, e.texture);
        }
        if (e.label != nullptr) {
            EXPECT_EQ(MenuVariants::Label(o), e.label);
        }
    }
    EXPECT_EQ(std::size(kTable), 49u);
}

TEST_F(MenuVariantsTest, TheLargeCursorCarriesTheMoonCursorsDrawingAtEightyPixels) {
    Object* small = Make("MMCursor");
    Object* large = Make("MMSuperCursor");
    EXPECT_TRUE(large->GetEvent("GraphicsDraw") == small->GetEvent("GraphicsDraw"));
    EXPECT_FALSE(large->GetEvent("GraphicsDraw") == Event(&ObjectData::Cursor::GraphicsDraw));
    // The halo: white-blue at phase 0, dimmer at pi.
    EXPECT_EQ(ObjectData::Cursor::Tint(0.0f), 0xFFFFFFF0u);
    EXPECT_EQ(ObjectData::Cursor::Tint(3.14159265f), 0xFF9F9FF0u);
}

TEST_F(MenuVariantsTest, TheTitlePromptStartsAtAlpha139AndFadesForGoodAfterTheFirstInput) {
    bool pressed = false;
    static bool* input = &pressed;
    screenInput.anythingPressed = [] { return *input; };
    Object* prompt = Make("TitleInstruction");
    Frame();
    ASSERT_FALSE(objtest::Recorded().quads.empty());
    EXPECT_EQ(objtest::Recorded().quads.back().colour >> 24, 139u);
    pressed = true;
    Frame();
    pressed = false;
    Frames(10);
    const auto& v = VariablesOf<ObjectData::TitleInstruction::Variables>(prompt);
    EXPECT_NEAR(v.disappear, std::pow(0.9f, 11.0f), 1e-5f) << "it goes on fading without input";
}

TEST_F(MenuVariantsTest, AFadeClickedTwiceInOneFadeSwitchesOnce) {
    world::RegisterLevel("Target", &CountLoads<kTarget>);
    Loads("Target") = 0;
    GameVars().backToWhere = "Target";
    Object* fade = Make("Transition", "Transit");
    Object* back = Make("toWherever");
    Click(back);
    Frames(10);
    const std::int32_t counter = VariablesOf<ObjectData::Transition::Variables>(fade).counter;
    Click(back);
    EXPECT_EQ(VariablesOf<ObjectData::Transition::Variables>(fade).counter, counter) << "the fade goes on";
    Frames(40);
    EXPECT_EQ(state->GetLevelName(), "Target");
    EXPECT_EQ(Loads("Target"), 1);
    EXPECT_EQ(MenuVariants::FadeTarget("toQuit"), "QuitConfirm");
    EXPECT_EQ(MenuVariants::FadeTarget("toWherever"), "");
}

TEST_F(MenuVariantsTest, AButtonToAScreenNotRegisteredIsNotMade) {
    std::string missing;
    for (const Expected& e : kTable)
        if (const std::string target = MenuVariants::FadeTarget(e.name);
            !target.empty() && !Level::_IsRegistered(target))
            missing = e.name;
    if (missing.empty()) GTEST_SKIP() << "every screen a button leads to is registered";
    State::_currentState = state;
    EXPECT_EQ(MenuVariants::SpawnButton(missing), nullptr) << missing;
    EXPECT_NE(MenuVariants::SpawnButton("toQuit"), nullptr);
    EXPECT_NE(MenuVariants::SpawnButton("Facebook"), nullptr);
    State::_currentState = nullptr;
}

TEST_F(MenuVariantsTest, AskAgainChangesItsLabelThenLeavesOnTheSecondClick) {
    Make("Transition", "Transit");
    Object* ask = Make("quitToMainMenu");
    Click(ask);
    EXPECT_EQ(MenuVariants::Label(ask), "#0x444434#Are you sure?");
    Frames(40);
    EXPECT_EQ(state->GetLevelName(), "Blank") << "the first click only asks";
    Click(ask);
    Frames(40);
    EXPECT_EQ(state->GetLevelName(), "MainMenu");
}

// Singleplayer leads to the single-play screen, which fills the order when
// the player chooses where to start.
TEST_F(MenuVariantsTest, SingleplayerLeadsToTheSinglePlayScreenAndLeavesTheOrderAlone) {
    CurrentLevelIndex = 5;
    LevelOrder = {"x"};
    Make("Transition", "Transit");
    Object* button = Make("toSingleplayer");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(MenuVariants::FadeTarget("toSingleplayer"), "SinglePlayerMenu");
    Click(button);
    EXPECT_EQ(CurrentLevelIndex, 5);
    EXPECT_EQ(LevelOrder, std::vector<std::string>{"x"});
    Frames(40);
    EXPECT_EQ(state->GetLevelName(), "SinglePlayerMenu");
}

TEST_F(MenuVariantsTest, TheSinglePlayerOrderHoldsTheThirteenLevels) {
    GameVars().playerScores[3] = 7;
    CurrentLevelIndex = 5;
    LevelOrder = {"x"};
    LevelOrderNumbers = {9};
    MenuVariants::PrepareBuiltInOrder();
    EXPECT_EQ(GameVars().playerScores[3], 0);
    EXPECT_EQ(CurrentLevelIndex, 0);
    ASSERT_EQ(LevelOrder.size(), 13u);
    EXPECT_EQ(LevelOrder.front(), "GrassLevel01");
    EXPECT_EQ(LevelOrder.back(), "SpeedyLevel3");
    std::vector<int> numbers(13);
    for (int i = 0; i < 13; ++i) numbers[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(LevelOrderNumbers, numbers);
    LevelOrderNumbers.clear();
}

// The counter's choice is the progress file's, written at its click.
TEST_F(MenuVariantsTest, TheCounterToggleShowsAndKeepsItsChoice) {
    TempUserFolder folder;
    Progress::Load();
    Object* button = Make("counterToggleButton");
    Frame();
    EXPECT_STREQ(*FindVariable<const char*>(button, enum_texture), "counterToggleOnButton");
    Click(button);
    Frame();
    EXPECT_STREQ(*FindVariable<const char*>(button, enum_texture), "counterToggleOffButton");
    Progress::Current() = Progress::Record{};
    ASSERT_TRUE(Progress::Load());
    EXPECT_FALSE(Progress::Current().showCounter);
    Click(button);
    ASSERT_TRUE(Progress::Load());
    EXPECT_TRUE(Progress::Current().showCounter);
    Progress::Current() = Progress::Record{};
}

TEST_F(MenuVariantsTest, TogglesShowTheirSettingAndFlipIt) {
    struct Case {
        const char* name;
        bool GameData::TheGame::GameVariables::*setting;
        const char* on;
        const char* off;
    };
    const Case cases[] = {
        {"rummbleToggleButton", &GameData::TheGame::GameVariables::rumbleOn, "rummbleToggleOnButton",
         "rumbleToggleOffButton"},
        {"wiiToggleButton", &GameData::TheGame::GameVariables::wiiControls, "wiiToggleOnButton", "wiiToggleOffButton"},
        {"xboxToggleButton", &GameData::TheGame::GameVariables::xbox360Controls, "xBoxToggleOnButton",
         "xBoxToggleOffButton"},
        {"resolutionToggleButton", &GameData::TheGame::GameVariables::resolutionAuto, "resolution480Button",
         "resolutionAutoButton"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameVars().*c.setting = false;
        Object* button = Make(c.name);
        Frame();
        EXPECT_STREQ(*FindVariable<const char*>(button, enum_texture), c.off);
        Click(button);
        EXPECT_TRUE(GameVars().*c.setting);
        Frame();
        EXPECT_STREQ(*FindVariable<const char*>(button, enum_texture), c.on);
    }
    // No window: the full-screen button shows the windowed picture, and its
    // click changes nothing.
    Object* full = Make("FullScreenButton");
    Frame();
    EXPECT_STREQ(*FindVariable<const char*>(full, enum_texture), "windowedButton");
    Click(full);
    Frame();
    EXPECT_STREQ(*FindVariable<const char*>(full, enum_texture), "windowedButton");
}

TEST_F(MenuVariantsTest, TurningRumbleOnVibratesThePadAndTheRemoteOnlyWithItsControlsOn) {
    Object* rumble = Make("rummbleToggleButton");
    GameVars().rumbleOn = false;
    GameVars().wiiControls = false;
    Click(rumble);
    EXPECT_EQ(objtest::Recorded().padRumbles, std::vector<unsigned>{100});
    EXPECT_TRUE(objtest::Recorded().remoteRumbles.empty());
    Click(rumble);  // off: nothing
    EXPECT_EQ(objtest::Recorded().padRumbles.size(), 1u);
    GameVars().wiiControls = true;
    Click(rumble);
    EXPECT_EQ(objtest::Recorded().remoteRumbles, std::vector<unsigned>{100});
    EXPECT_EQ(objtest::Recorded().padRumbles.size(), 2u);
}

TEST_F(MenuVariantsTest, TheSocialButtonsHandTheirAddressToTheOpener) {
    Click(Make("Facebook"));
    Click(Make("Twitter"));
    ASSERT_EQ(Opened().size(), 2u);
    EXPECT_EQ(Opened()[0], MenuVariants::kFirstPageAddress);
    EXPECT_EQ(Opened()[1], MenuVariants::kSecondPageAddress);
    for (const std::string& address : Opened()) EXPECT_EQ(address.rfind("https://example.org/", 0), 0u);
}

TEST_F(MenuVariantsTest, PreviewFiguresCarryNoNameLabel) {
    for (const char* name : {"DisplayCharacter", "TitleCharacter"}) {
        SCOPED_TRACE(name);
        Object* figure = Make(name);
        ASSERT_TRUE(ObjectData::Player::IsPlayer(figure));
        EXPECT_FALSE(ObjectData::Player::Vars(figure).networked);
        EXPECT_EQ(ObjectData::Player::Vars(figure).nameText, nullptr);
    }
}

TEST_F(MenuVariantsTest, ContinueActsOnANewPressOfPauseOrBackNeverOnAKeyHeldFromBefore) {
    Make("Transition", "Transit");
    ClosePressed() = true;  // held when the screen opened
    Make("ContinuePlaying");
    Frames(40);
    EXPECT_EQ(state->GetLevelName(), "Blank");
    ClosePressed() = false;
    Frame();
    ClosePressed() = true;
    Frames(40);
    EXPECT_EQ(state->GetLevelName(), "MainMenu");
}

}  // namespace
