// Screenshots of the menu screens as a player sees them, drawn headless:
// credits, how to play, both results screens (a ranking of several coloured
// players), options, customisation, the lobby with a game found on the
// loopback network, the custom-game set-up, the profiler viewer over a
// recorded profile, the screen between the levels of a match, a match
// level with two named players, the single-play screen with some levels
// finished, the card after the first level over its last picture, with a
// new best time, and the level editor's four dialogs at their windows'
// sizes (create and save-as showing a refusal, resize with the level's
// size in its boxes, open with a folder of levels, one chosen, and a
// message). Each is the real level type opened by name, run about a
// second on an injected clock (the fade in ends) and written as
// <outdir>/<Name>.png.
//
//   bench_screen_shots [outdir]      (default: screenshots/)
//
// Runs headless: offscreen video, no sound device, no input devices.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <memory>

#include "../tests/networking/NetTestSupport.h"
#include "EditorScene.h"
#include "HeadlessGL.h"
#include "ScreenScenes.h"
#include "editor/EditorDialog.h"
#include "editor/LevelNameRule.h"
#include "editor/OpenLevelList.h"
#include "framework/BuiltInLevels.h"
#include "framework/Progress.h"
#include "networking/Match.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "objects/Player.h"
#include "screens/PlayHud.h"
#include "screens/ResultCard.h"
#include "screens/ServerMenu.h"
#include "stencil/StencilCodeBlock.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "widgets/CustomLevelSelector.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

// A match of five players with scores, names and colours.
void FillMatch() {
    auto& game = GameVars();
    const char* names[] = {"Moonwalker", "Pip", "Nightjar", "Ember", "Bramble"};
    const std::int32_t scores[] = {42, 87, 0, 63, 87};
    const std::uint32_t colours[] = {0xFF3CC8FFu, 0xFFFF7A3Cu, 0xFF9A9A9Au, 0x00FFD23Cu, 0xFF8CFF5Au};
    for (int i = 0; i < 5; ++i) {
        game.playerNames[i] = names[i];
        game.playerScores[i] = scores[i];
        game.playerColors[i] = static_cast<std::int32_t>(colours[i]);
    }
}

// The lobby's engine and a game hosted beside it, both on loopback addresses
// of their own; the host announces a level and three players.
struct LoopbackGame {
    LoopbackGame() {
        host = std::make_unique<Networking::NetEngine>(net.Config(2));
        lobby = std::make_unique<Networking::NetEngine>(net.Config(1));
        nettest::Announce(*host, "GrassLevel01", 3);
        host->HostServer("Moon Race");
        EngineData::NetworkingUpdate::SetTarget(lobby.get());
    }
    ~LoopbackGame() {
        EngineData::NetworkingUpdate::SetTarget(nullptr);
        lobby->Disconnect();
        host->Disconnect();
    }
    // Before each frame: both engines read what has come; the host runs (the
    // lobby's engine runs in the screen's frame), and once the game is
    // listed its line is selected.
    void Step(State* state) {
        host->DrainReceive();
        host->Update(scenes::LevelStarts::kFrameMs);
        lobby->DrainReceive();
        Level* level = state->GetLevel();
        auto* list = level != nullptr ? ObjectData::ServerMenu::Find(level->GetMyObject("ServerMenu")) : nullptr;
        if (list != nullptr && !list->serverNames.empty()) list->selectedStencil = 0;
    }
    nettest::LoopbackNet net;
    std::unique_ptr<Networking::NetEngine> host, lobby;
};

// The custom game half set up: a name typed and three levels in the order.
void SetUpCustomGame(State* state, int frame) {
    Level* level = state->GetLevel();
    if (frame != 1 || level == nullptr) return;
    if (auto* box = ObjectData::SingleLineTextBox::Find(level->GetMyObject("serverName")))
        if (auto* text = ObjectData::Text::Find(box->textObject)) text->text = "Moon Race";
    Entity* picker = level->GetMyObject("CustomSelect");
    auto* v = ObjectData::CustomLevelSelector::Find(picker);
    if (v == nullptr) return;
    for (std::int32_t k : {2, 0, 5}) {
        v->rightNames.push_back(k);
        v->leftNames.erase(std::remove(v->leftNames.begin(), v->leftNames.end(), k), v->leftNames.end());
    }
    v->rightSelected = 1;
    Widgets::RaiseOwn(picker, "Init", picker);
}

// The first level of a match as every machine builds it, with a second
// player beside the local one; both carry their names.
void FillMatchLevel() {
    GameVars().basicLevel.SLoad(0);
    CurrentLevelName = BuiltInLevelNames[0];
    CurrentLevelIndex = 0;
}

void MatchLevelStep(State* state, int frame) {
    if (frame == 0) FillMatchLevel();
    if (frame != 1 || state->GetLevel() == nullptr) return;
    Entity* local = state->GetLevel()->GetMyObject("Player_0");
    if (!ObjectData::Player::IsPlayer(local)) return;
    ObjectData::Player::Variables& own = ObjectData::Player::Vars(local);
    own.playerName = "Moonwalker";
    Object* other = Object::MakeCopy(state, "Player", "Player_1");
    if (other == nullptr) return;
    ObjectData::Player::Variables& v = ObjectData::Player::Vars(other);
    v.OwnerID = 1;
    v.position = own.position;
    v.position.x += 2.5f;
    v.playerName = "Pip";
    v.playerColor = 0xFFFF7A3Cu;
    other->DoEvent("SetClientBehavior");
}

// A player some way into single play: four levels finished (most of what
// each holds gathered), the fifth reached.
void FillProgress() {
    Progress::Record& r = Progress::Current();
    r = Progress::Record{};
    const std::int32_t frames[] = {2190, 3405, 4122, 5760};
    const std::int32_t deaths[] = {0, 1, 3, 6};
    for (int i = 0; i < 4; ++i) {
        const PlayHud::Totals totals = PlayHud::LevelTotals(i);
        r.levels[static_cast<std::size_t>(i)] = {
            true, true, frames[i], std::max(0, totals.shards - i % 2), std::max(0, totals.fireflies - i), deaths[i]};
    }
    r.levels[4].reached = true;
}

// The first level just finished a little faster than before, with fewer
// shards: the card over the level as the count-down ends.
void ResultCardStep(State* state, int frame) {
    if (frame != 30 || state->GetLevel() == nullptr) return;
    FillProgress();
    Entity* goal = nullptr;
    for (Object* object : state->Objects())
        if (object->GetType() == "LevelGoal") goal = object;
    Progress::Run run;
    const PlayHud::Totals totals = PlayHud::LevelTotals(0);
    run.frames = 2071;
    run.shards = std::max(0, totals.shards - 1);
    run.shardsTotal = totals.shards;
    run.fireflies = totals.fireflies;
    run.firefliesTotal = totals.fireflies;
    run.deaths = 1;
    ObjectData::ResultCard::Show(state, goal, 0, run);
}

// The editor's dialogs as a level maker meets them: what was typed, and
// the dialog's answer in its message line.
void CreateRefused(State* state, int frame) {
    Level* level = state->GetLevel();
    if (frame != 1 || level == nullptr) return;
    EditorDialog::FillBox(level, "LevelNameTextBox", "Cave of Echoes");
    EditorDialog::FillBox(level, "GridWidthTextBox", "5");
    EditorDialog::FillBox(level, "GridHeightTextBox", "300");
    EditorDialog::ShowMessage(level, "The width and the height must be " + EditorDialog::SizeRange() + " cells.");
}

void SaveAsRefused(State* state, int frame) {
    Level* level = state->GetLevel();
    if (frame != 1 || level == nullptr) return;
    EditorDialog::FillBox(level, "LevelNameTextBoxSaveAs", "Cave of Echoes");
    EditorDialog::ShowMessage(level, LevelNameRule::Exists());
}

void ResizeShowsTheSize(State* state, int frame) {
    Level* level = state->GetLevel();
    if (frame != 1 || level == nullptr) return;
    EditorDialog::FillBox(level, "GridWidthTextBox", "64");
    EditorDialog::FillBox(level, "GridHeightTextBox", "36");
}

// A dialog lays itself out for its window's shape: the game area of the
// shot being taken stands for that window.
int areaWidth = scenes::kWidth, areaHeight = scenes::kHeight;
GameArea ShotArea() {
    return GameArea{0,         0, areaWidth, areaHeight, static_cast<float>(areaWidth) / static_cast<float>(areaHeight),
                    areaHeight};
}

// Level files of many names in the folder the open dialog lists.
void WriteSampleLevels() {
    LevelCollision grid(20, 20);
    grid.SetCell(1.0f, 1.0f, 101);
    for (const char* name : {"Cave of Echoes", "apple orchard", "Moon Steps", "broken bridge", "Zigzag", "Default",
                             "a much longer level name that will not fit in its row", "Spring Tower", "night run 2",
                             "Night Run", "Bramble Maze", "lantern hill", "Quiet Pond", "Echo 3"})
        grid.Save(std::string(name) + ".lvl");
}

void OpenWithAChoice(State* state, int frame) {
    Level* level = state->GetLevel();
    if (frame != 1 || level == nullptr) return;
    if (auto* list = ObjectData::OpenLevelList::Find(level->GetMyObject("LevelListScreen")))
        list->clickedLevel = "Moon Steps.lvl";
    EditorDialog::ShowMessage(level, "Could not open broken bridge.lvl: it is gone or not a level file.");
}

// The stencil editor's windows as a modder meets them: a properties window
// on a stencil with a variable and a function, its report after a failed
// build; a code block on a function's body with the compiler's line.
CppData LanternRecord() {
    CppData record;
    record.kind = "OBJECT";
    record.typeName = "CustomLevelSelector";
    record.varNames = {"glow", "flickerSpeed"};
    record.varTypes = {"int", "float"};
    record.varValues = {"7", "0.5"};
    record.functions.push_back(
        {"void", "Behavior", {}, "ENGINE", "\n\tself->glow = self->glow + 1;\n\tnothing = 2;\n", 0});
    return record;
}

void PropertiesStep(State* state, int frame) {
    Level* level = state->GetLevel();
    if (frame != 0 || level == nullptr) return;
    *FindVariable<std::string>(level, enum_objName) = "CustomLevelSelector";
    *FindVariable<std::string>(level, enum_objType) = "OBJECT";
    for (const char* panel : {"VariableTable", "FunctionTable"})
        if (CppData* record = FindVariable<CppData>(level->GetMyObject(panel), enum_ObjData)) *record = LanternRecord();
    level->DoEvent("Init");
    // The variables tab, and what a failed build leaves in the report line.
    *FindVariable<std::string>(level, enum_clickedStencil) = "VARIABLES";
    LevelData::StencilObjPropLevel::ShowReport(
        state,
        "The build of CustomLevelSelector failed after 3.1 s; the old CustomLevelSelector stays in service.\n"
        "Behavior, line 3: 'nothing' was not declared in this scope");
}

void CodeBlockStep(State* state, int frame) {
    Level* level = state->GetLevel();
    auto* v = LevelData::StencilCodeBlock::Find(level);
    if (frame != 0 || v == nullptr) return;
    v->objName = "CustomLevelSelector";
    v->objType = "OBJECT";
    v->functionIndex = 0;
    v->desiredStencilName = "Behavior";
    v->ObjData = LanternRecord();
    level->DoEvent("Init");
    StencilRows::SetLabel(v->message,
                          "The build of CustomLevelSelector failed here:\n"
                          "line 3: 'nothing' was not declared in this scope");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace scenes;
    const std::filesystem::path outdir = argc > 1 ? argv[1] : "screenshots";
    std::error_code error;
    std::filesystem::create_directories(outdir, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", outdir.c_str(), error.message().c_str());
        return 1;
    }

    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;

    std::unique_ptr<LoopbackGame> game;
    struct Shot {
        const char* file;
        const char* level;
        int width, height;
        ScreenScenes::Step step;
        bool networked;        // a game is hosted beside the screen's own engine
        bool ownArea = false;  // laid out for a window of the shot's own size
    };
    const Shot shots[] = {
        {"Options", "Options", kWidth, kHeight},
        {"Customize", "Customize", kWidth, kHeight},
        {"Credits", "Credits", kWidth, kHeight},
        {"HowToPlay", "HowToPlayScreen", kWidth, kHeight},
        {"GameResults", "GameResults", kWidth, kHeight},
        {"SPResults", "SPResults", kWidth, kHeight},
        {"Lobby", "Lobby", kWidth, kHeight, [&game](State* state, int) { game->Step(state); }, true},
        {"MakeGame", "MakeGame", kWidth, kHeight, &SetUpCustomGame, false},
        {"Profiler", "Profiler", 500, 500},
        {"LoadingLevel", "LoadingLevel", kWidth, kHeight, {}, false},
        {"MatchLevel", "Multiplayer", kWidth, kHeight, &MatchLevelStep, false},
        {"SinglePlayerMenu", "SinglePlayerMenu", kWidth, kHeight, {}, false},
        {"ResultCard", "SinglePlayer", kWidth, kHeight, &ResultCardStep, false},
        {"EditorCreate", "LevelEditorCreate", 400, 225, &CreateRefused, false, true},
        {"EditorSaveAs", "LevelEditorCreateAs", 400, 250, &SaveAsRefused, false, true},
        {"EditorResize", "LevelEditorResize", 400, 250, &ResizeShowsTheSize, false, true},
        {"EditorOpen", "LevelEditorLoad", 800, 600, &OpenWithAChoice, false, true},
        {"StencilEditor", "StencilEditor", 800, 600, {}, false},
        {"StencilProperties", "StencilObjPropLevel", 700, 600, &PropertiesStep, false},
        {"StencilCodeBlock", "StencilCodeBlock", 700, 600, &CodeBlockStep, false},
        {"InstanceEditor", "InstanceEditor", 800, 600, {}, false},
    };
    int failures = 0;
    {
        ScreenScenes screens;
        TempLevelFolder levels;
        WriteSampleLevels();
        FillMatch();
        FillProgress();
        RecordSampleProfile();
        std::vector<std::uint8_t> rgba;
        for (const Shot& shot : shots) {
            const std::string path = (outdir / (std::string(shot.file) + ".png")).string();
            if (shot.networked) game = std::make_unique<LoopbackGame>();
            // A play level plays the first built-in level.
            CurrentLevelIndex = 0;
            LevelOrder.assign(BuiltInLevelNames.begin(), BuiltInLevelNames.end());
            const auto area = GraphicsEngine::currentGameArea;
            if (shot.ownArea) {
                areaWidth = shot.width;
                areaHeight = shot.height;
                GraphicsEngine::currentGameArea = &ShotArea;
            }
            const std::string why = screens.Shoot(shot.level, rgba, 60, shot.width, shot.height, shot.step);
            GraphicsEngine::currentGameArea = area;
            game.reset();
            if (!why.empty()) {
                std::fprintf(stderr, "%s: %s\n", shot.file, why.c_str());
                ++failures;
            } else if (!stbi_write_png(path.c_str(), shot.width, shot.height, 4, rgba.data(), shot.width * 4)) {
                std::fprintf(stderr, "%s: cannot write %s: %s\n", shot.file, path.c_str(), std::strerror(errno));
                ++failures;
            } else {
                std::printf("%-12s %s\n", shot.file, path.c_str());
            }
        }
    }
    gl.Close();
    return failures == 0 ? 0 : 1;
}
