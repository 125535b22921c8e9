#include "screens/SinglePlayerMenu.h"

#include <cstdlib>
#include <string>

#include "framework/BuiltInLevels.h"
#include "framework/GameVariables.h"
#include "framework/Progress.h"
#include "framework/State.h"
#include "networking/Match.h"
#include "screens/GameResults.h"
#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"
#include "screens/PlayHud.h"
#include "screens/ScreenSteps.h"
#include "widgets/Text.h"

namespace LevelData::SinglePlayerMenu {

namespace {

struct Variables {
    Object* background2 = nullptr;
    bool chosen = false;  // a choice is fading to it; later clicks do nothing
};
VariableOffsetTable table;

constexpr char kLineInk[] = "#0xF4F1FF#";
constexpr std::uint32_t kRecordColour = 0xFFD8D2F0u;
constexpr std::uint32_t kDimColour = 0xFF7C7898u;
constexpr float kListTop = 0.3f, kLineStep = 0.054f;
constexpr float kLineX = -0.12f;
constexpr D3DXVECTOR2 kLineSize{0.32f, 0.046f};
constexpr float kRecordsX = 0.08f;
constexpr float kChoiceX = -0.62f;
constexpr D3DXVECTOR2 kChoiceSize{0.36f, 0.08f};

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("MenuStars");
}

Variables& Vars(Entity* level) { return VariablesOf<Variables>(level); }
Entity* LevelOf(Entity* widget) {
    return widget != nullptr && widget->_state != nullptr ? widget->_state->GetLevel() : nullptr;
}

void GoPlay(Entity* self, Entity*) { State::SetLevel(self->_state, "SinglePlayer"); }
void GoMainMenu(Entity* self, Entity*) { State::SetLevel(self->_state, "MainMenu"); }

// Single play from built-in level index, once per visit of the screen.
void Play(Entity* button, int index) {
    Entity* level = LevelOf(button);
    if (level == nullptr || Vars(level).chosen || !Progress::Reachable(Progress::Current(), index)) return;
    Vars(level).chosen = true;
    MenuVariants::PrepareBuiltInOrder();
    CurrentLevelIndex = index;
    MenuScreen::FadeOutTo(button, &GoPlay);
}

void ContinueLogic(Entity* self, Entity*) { Play(self, Progress::ContinueLevel(Progress::Current())); }
void NewGameLogic(Entity* self, Entity*) { Play(self, 0); }
void LevelLogic(Entity* self, Entity*) {
    const std::string& name = self->GetName();
    const std::string prefix = "Level_";
    if (name.compare(0, prefix.size(), prefix) != 0) return;
    Play(self, std::atoi(name.c_str() + prefix.size()) - 1);
}
void BackLogic(Entity* self, Entity*) {
    Entity* level = LevelOf(self);
    if (level == nullptr || Vars(level).chosen) return;
    Vars(level).chosen = true;
    MenuScreen::FadeOutTo(self, &GoMainMenu);
}

ScreenSteps::LabelSetup Small(const std::string& text, float x, float y, std::uint32_t colour, float height = 0.028f) {
    ScreenSteps::LabelSetup s;
    s.text = text;
    s.x = x;
    s.y = y;
    s.z = -1000.0f;
    s.setZ = true;
    s.width = 2.0f;
    s.height = 2.0f * height;
    s.setHeight = true;
    s.charHeight = height;
    s.hAlign = 1;
    s.vAlign = 1;
    s.setVAlign = true;
    s.font = "default";
    s.primaryColor = colour;
    s.setColor = true;
    return s;
}

// A label whose left end is at x (the text type lays out about its centre).
void LeftLabel(const std::string& text, float x, float y, std::uint32_t colour, float height = 0.028f) {
    PlayHud::Lettering look;
    look.charHeight = height;
    ScreenSteps::Label(Small(text, x + PlayHud::Width(text, look) / 2.0f, y, colour, height));
}

std::string Records(const Progress::LevelRecord& r, int index) {
    if (!r.finished) return "not finished yet";
    const PlayHud::Totals totals = PlayHud::LevelTotals(index);
    return PlayHud::Clock(r.bestFrames) + "   shards " + std::to_string(r.mostShards) + "/" +
           std::to_string(totals.shards) + "   fireflies " + std::to_string(r.mostFireflies) + "/" +
           std::to_string(totals.fireflies) + "   deaths " + std::to_string(r.fewestDeaths);
}

void LevelLine(const Progress::Record& progress, int index) {
    const float y = kListTop - kLineStep * static_cast<float>(index);
    const std::string title = "  " + std::to_string(index + 1) + ".  " + PlayHud::LevelTitle(index);
    if (!Progress::Reachable(progress, index)) {
        LeftLabel(title, kLineX - kLineSize.x / 2.0f + 0.012f, y, kDimColour, 0.03f);
        LeftLabel("not reached yet", kRecordsX, y, kDimColour);
        return;
    }
    Object* button = ScreenSteps::TextButton("Level_" + std::to_string(index + 1), {kLineX, y, 0.0f}, kLineSize,
                                             kLineInk + title, &LevelLogic, "levelLineButton");
    // The line's name starts at its plate's left end.
    if (Object** caption = FindVariable<Object*>(button, enum_textObj))
        if (ObjectData::Text::Variables* t = ObjectData::Text::Find(*caption)) t->settings.hAlign = 0;
    LeftLabel(Records(progress.levels[static_cast<std::size_t>(index)], index), kRecordsX, y, kRecordColour);
}

void Build(Entity* self, Entity*) {
    Vars(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
    MenuScreen::Backdrop("BACK Singleplayer");
    MenuScreen::FadeIn(self);
    ScreenSteps::LabelSetup heading = GameResults::Heading("Singleplayer");
    heading.y = 0.43f;
    heading.charHeight = 0.1f;
    heading.height = 0.12f;
    ScreenSteps::Label(heading);

    const Progress::Record& progress = Progress::Current();
    const int next = Progress::ContinueLevel(progress);
    const std::string ink = "#0x444434#";
    ScreenSteps::TextButton(kContinue, {kChoiceX, 0.22f, 0.0f}, kChoiceSize, ink + "Continue", &ContinueLogic);
    ScreenSteps::Label(
        Small("Level " + std::to_string(next + 1) + ": " + PlayHud::LevelTitle(next), kChoiceX, 0.155f, kRecordColour));
    ScreenSteps::TextButton(kNewGame, {kChoiceX, 0.04f, 0.0f}, kChoiceSize, ink + "New Game", &NewGameLogic);
    ScreenSteps::Label(Small("From level 1; your records stay", kChoiceX, -0.025f, kRecordColour));
    for (int i = 0; i < Progress::kLevels && i < static_cast<int>(BuiltInLevelNames.size()); ++i)
        LevelLine(progress, i);
    ScreenSteps::TextButton(kBack, {kChoiceX, -0.4f, 0.0f}, kChoiceSize, ink + "Main Menu", &BackLogic);
}

}  // namespace

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("SinglePlayerMenu", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                      Event(), &Build, &ScreenSteps::BackStep);
    BindVariable(table, *prototype, enum_background2, prototype->vars.background2);
    return prototype;
}

}  // namespace LevelData::SinglePlayerMenu
