#include "screens/ResultCard.h"

#include <string>

#include "framework/GameVariables.h"
#include "framework/LevelTemplate.h"
#include "framework/State.h"
#include "networking/Match.h"
#include "platform/input/Input.h"
#include "platform/input/Mouse.h"
#include "screens/MenuScreen.h"
#include "screens/PlayHud.h"
#include "screens/ScreenSteps.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::ResultCard {

namespace {

VariableOffsetTable table;

// The card over the level, under the buttons (100) and the fade.
constexpr float kDepth = 95.0f;
constexpr float kButtonY = -0.18f, kButtonX = 0.3f;
constexpr D3DXVECTOR2 kButtonSize{0.27f, 0.072f};
constexpr std::uint32_t kHeading = 0xFFE8E0FFu;
constexpr std::uint32_t kLabel = 0xFFC8C0E8u;
constexpr std::uint32_t kValue = 0xFFFFFFFFu;
constexpr std::uint32_t kNewBest = 0xFFFFD23Cu;
constexpr std::uint32_t kFormer = 0xFFA8A0C8u;

Entity* CardOf(Entity* button) { return button != nullptr ? button->GetMyObject("ResultCard") : nullptr; }

void NextLogic(Entity* self, Entity*) { Choose(CardOf(self), Choice::Next); }
void RetryLogic(Entity* self, Entity*) { Choose(CardOf(self), Choice::Retry); }
void MenuLogic(Entity* self, Entity*) { Choose(CardOf(self), Choice::MainMenu); }

void GoRestart(Entity* self, Entity*) { State::SetLevel(self->_state, "Restart"); }
void GoMainMenu(Entity* self, Entity*) { State::SetLevel(self->_state, "MainMenu"); }

bool LastLevel(int index) { return index + 1 >= static_cast<int>(LevelOrder.size()); }

// Nothing held: no key, button, pad button or direction.
bool AllLetGo() {
    return !inputEngine.AnythingPressed() && !inputEngine.UpPressed() && !inputEngine.DownPressed() &&
           !inputEngine.LeftPressed() && !inputEngine.RightPressed();
}

std::string Count(std::int32_t n, std::int32_t of) { return std::to_string(n) + " / " + std::to_string(of); }

// One line of the card: what it counts, the run's value and, beside it,
// "new best!" when the run broke the record, or the record it did not.
void Line(float y, const char* what, const std::string& value, bool newBest, const std::string& former) {
    PlayHud::Lettering look;
    look.z = kDepth + 1.0f;
    look.y = y;
    look.charHeight = 0.038f;
    look.x = -0.37f;
    look.colour = kLabel;
    PlayHud::Letter(what, look);
    look.x = 0.09f;
    look.hAlign = 2;
    look.colour = kValue;
    PlayHud::Letter(value, look);
    look.x = 0.15f;
    look.hAlign = 0;
    look.charHeight = 0.03f;
    if (newBest) {
        look.colour = kNewBest;
        PlayHud::Letter("new best!", look);
    } else if (!former.empty()) {
        look.colour = kFormer;
        PlayHud::Letter(former, look);
    }
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->GetType() == "ResultCard" ? &VariablesOf<Variables>(entity) : nullptr;
}

bool Show(State* state, Entity* goal, int index, const Progress::Run& run) {
    if (!LevelTemplate::IsRegisteredType("ResultCard")) return false;
    State* remembered = State::_currentState;
    State::_currentState = state;
    Object* card = LevelTemplate::SpawnIn(state, "ResultCard", "ResultCard");
    if (card == nullptr) {
        State::_currentState = remembered;
        return false;
    }
    Variables& v = VariablesOf<Variables>(card);
    v.run = run;
    v.level = index;
    v.goal = goal;
    if (index >= 0 && index < Progress::kLevels) {
        v.before = Progress::Current().levels[static_cast<std::size_t>(index)];
        v.bests = Progress::Finish(index, run);
    }
    if (card->GetMyObject("Cursor") == nullptr) LevelTemplate::SpawnIn(state, "MMCursor", "Cursor");
    ScreenSteps::TextButton("CardNext", {-kButtonX, kButtonY, 100.0f}, kButtonSize,
                            LastLevel(index) ? "#0x444434#Results" : "#0x444434#Next Level", &NextLogic);
    ScreenSteps::TextButton("CardRetry", {0.0f, kButtonY, 100.0f}, kButtonSize, "#0x444434#Retry", &RetryLogic);
    ScreenSteps::TextButton("CardMenu", {kButtonX, kButtonY, 100.0f}, kButtonSize, "#0x444434#Main Menu", &MenuLogic);
    State::_currentState = remembered;
    return true;
}

void Choose(Entity* card, Choice choice) {
    Variables* v = Find(card);
    if (v == nullptr || v->chosen != Choice::None || choice == Choice::None) return;
    // A control held from the run chooses nothing.
    if (!v->armed) return;
    v->chosen = choice;
    switch (choice) {
        case Choice::Next:
            if (v->goal != nullptr) {
                v->goal->DoEvent("FadeToNext");
            } else {
                MenuScreen::FadeOutTo(card, &GoMainMenu);
            }
            break;
        case Choice::Retry: MenuScreen::FadeOutTo(card, &GoRestart); break;
        default: MenuScreen::FadeOutTo(card, &GoMainMenu); break;
    }
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    ++v.counter;
    const bool select = inputEngine.SelectButtonPressed();
    const bool newSelect = select && !v.selectBefore;
    v.selectBefore = select;
    if (v.chosen != Choice::None) return;
    if (!v.armed) {
        v.armed = AllLetGo();
        // Until then a held direction focuses nothing.
        Widgets::DropFocus(self);
        return;
    }
    const bool focused = Widgets::FocusedWidget(self) != nullptr;
    if (focused || Mouse.DeltaX() != 0.0f || Mouse.DeltaY() != 0.0f) v.touched = true;
    // With no button focused, a select goes on (a focused one takes it itself).
    if (newSelect && !focused) {
        Widgets::PlayClick();
        Choose(self, Choice::Next);
    }
    if (!v.touched && v.counter >= kWaitFrames) Choose(self, Choice::Next);
}

void Draw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    PlayHud::Picture("resultCard", 0.0f, 0.02f, kDepth, 0.98f, 0.66f);

    PlayHud::Lettering title;
    title.z = kDepth + 1.0f;
    title.hAlign = 1;
    title.y = 0.27f;
    title.charHeight = 0.075f;
    title.font = "ashleyscriptmtstd";
    title.colour = kHeading;
    // A grid of the player's own (no built-in level) has no name to show.
    const bool builtIn = v.level >= 0 && v.level < Progress::kLevels;
    PlayHud::Letter(builtIn ? PlayHud::LevelTitle(v.level) : "Level finished", title);
    title.y = 0.2f;
    title.charHeight = 0.03f;
    title.font = "default";
    title.colour = kLabel;
    if (builtIn)
        PlayHud::Letter(
            "Level " + std::to_string(v.level + 1) + " of " + std::to_string(LevelOrder.size()) + " finished", title);

    const Progress::LevelRecord& before = v.before;
    const bool again = before.finished;
    Line(0.12f, "Time", PlayHud::Clock(v.run.frames), v.bests.time,
         again ? "best " + PlayHud::Clock(before.bestFrames) : "");
    Line(0.06f, "Moon shards", Count(v.run.shards, v.run.shardsTotal), v.bests.shards,
         again ? "best " + std::to_string(before.mostShards) : "");
    Line(0.0f, "Fireflies", Count(v.run.fireflies, v.run.firefliesTotal), v.bests.fireflies,
         again ? "best " + std::to_string(before.mostFireflies) : "");
    Line(-0.06f, "Deaths", std::to_string(v.run.deaths), v.bests.deaths,
         again ? "best " + std::to_string(before.fewestDeaths) : "");

    if (v.touched || v.chosen != Choice::None) return;
    const int seconds = (kWaitFrames - v.counter + 59) / 60;
    PlayHud::Lettering wait;
    wait.z = kDepth + 1.0f;
    wait.hAlign = 1;
    wait.y = -0.265f;
    wait.charHeight = 0.026f;
    wait.colour = kFormer;
    PlayHud::Letter(std::string(LastLevel(v.level) ? "The results" : "The next level") + " in " +
                        std::to_string(seconds > 0 ? seconds : 0) + " s",
                    wait);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "ResultCard", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_counter, prototype->vars.counter);
}

}  // namespace ObjectData::ResultCard
