// Screenshots of the menu screens as a player sees them, drawn headless:
// credits, how to play, both results screens (a ranking of several coloured
// players), options, customisation, the lobby with a game found on the
// loopback network, the custom-game set-up and the profiler viewer over a
// recorded profile. Each is the real level type opened by name, run about a second
// on an injected clock (the fade in ends) and written as <outdir>/<Name>.png.
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
#include "HeadlessGL.h"
#include "ScreenScenes.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "screens/ServerMenu.h"
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
        bool networked;  // a game is hosted beside the screen's own engine
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
    };
    int failures = 0;
    {
        ScreenScenes screens;
        FillMatch();
        RecordSampleProfile();
        std::vector<std::uint8_t> rgba;
        for (const Shot& shot : shots) {
            const std::string path = (outdir / (std::string(shot.file) + ".png")).string();
            if (shot.networked) game = std::make_unique<LoopbackGame>();
            const std::string why = screens.Shoot(shot.level, rgba, 60, shot.width, shot.height, shot.step);
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
