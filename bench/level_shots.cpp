// A screenshot of each built-in level at its start, as the game shows it:
// the real "SinglePlayer" level in a state wired to the renderer the way the
// game wires its windows, run for about a second and a half of frames (the
// camera settles on the player, the fade in ends) on an injected clock, drawn
// at 1280x720 and written as <outdir>/<LevelName>.png; then the player is
// set down beside the level's goal and <outdir>/<LevelName>-goal.png shows
// the goal area as a player arriving there sees it.
//
//   bench_level_shots [outdir]      (default: screenshots/)
//
// Runs headless: offscreen video, no sound device, no input devices.
#include <SDL2/SDL.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "HeadlessGL.h"
#include "framework/Engine.h"
#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "framework/VariableNames.h"
#include "framework/Variables.h"
#include "collision/LevelCollision.h"
#include "networking/Match.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "objects/PlayerInput.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/window/StateWindows.h"
#include "screens/PlayLevel.h"
#include "screens/SinglePlayer.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr float kAspect = static_cast<float>(kWidth) / static_cast<float>(kHeight);
constexpr int kFrames = 90;
constexpr std::uint32_t kFrameMs = 16;

// The one window's render target and its resolution.
RenderTarget target;
float resolution = kAspect;

// The injected clock: it moves only when a frame is run.
std::uint32_t now = 0;
std::uint32_t Now() { return now; }

// The game's frame hooks take and hand back the state's buffer; this bench
// counts the quads of each frame on the way.
void (*handBack)(State*) = nullptr;
std::size_t lastQuads = 0;

void EndFrame(State* state) {
    if (const Buffer* buffer = state->takenBuffer) {
        std::size_t n = buffer->frames.size() + buffer->backgrounds.size();
        for (const auto& list : buffer->tiles) n += list.size();
        for (const auto& list : buffer->layers) n += list.size();
        lastQuads = n;
    }
    handBack(state);
}

void WireHeadless() {
    // The game's own frame hooks; in place of a window of its own, each state
    // is given the one render target's buffers below.
    InstallStateWindowHooks();
    handBack = State::hooks.endFrame;
    State::hooks.createWindow = nullptr;
    State::hooks.destroyWindow = nullptr;
    State::hooks.endFrame = &EndFrame;
    State::hooks.renderHeight = [](const State*) { return kHeight; };
    State::hooks.anyWindowActive = nullptr;
    State::hooks.resetInput = nullptr;

    // Silence, nothing pressed, no network.
    gameplayHooks.aspect = [] { return kAspect; };
    gameplayHooks.playSound = [](AudioList, float) {};
    gameplayHooks.setMusicChannelVolume = [](int, float) {};
    gameplayHooks.setMusicChannelFrequency = [](int, float) {};
    gameplayHooks.rumbleRemote = [](unsigned) {};
    gameplayHooks.vibratePad = [](unsigned) {};
    gameplayHooks.lightVibratePad = [](unsigned) {};
    gameplayHooks.clientId = [] { return 0; };
    gameplayHooks.send = [](const PlayerMessage&) {};
    playerDevices.keyPressed = [](unsigned char) { return false; };
    playerDevices.keyTriggered = [](unsigned char) { return false; };
    playerDevices.mousePressed = [](unsigned char) { return false; };
    playerDevices.mouseTriggered = [](unsigned char) { return false; };
    playerDevices.padButtons = []() -> std::uint16_t { return 0; };
    playerDevices.stickX = []() -> short { return 0; };
    playerDevices.stickY = []() -> short { return 0; };
    playerDevices.remoteButtons = []() -> std::uint16_t { return 0; };
    PlayLevel::controls.pause = [] { return false; };
    PlayLevel::controls.back = [] { return false; };
    SetClockFunction(&Now);
}

// The types, without the game-wide engines: those would open the sound
// device and run the window manager's cursor. The game entity is made before
// the engine types exist, so it takes neither (and notes both as unknown).
void RegisterTypes() {
    Game::_FirstInit();
    Level::_FirstInit();
    Engine::_FirstInit();
    Object::_FirstInit();
}

// A free cell with a floor under it a few cells beside the goal, where a
// player standing sees the goal without touching it.
bool BesideGoal(const D3DXVECTOR3& goal, float& x, float& y) {
    const LevelCollision& grid = GameVars().basicLevel;
    const int gx = static_cast<int>(goal.x), gy = static_cast<int>(goal.y);
    auto open = [&](int cx, int cy) {
        const int c = grid.GetCell(cy * grid.GetWidth() + cx);
        return cx >= 0 && cy >= 0 && cx < grid.GetWidth() && cy < grid.GetHeight() &&
               (c == 0 || c == LevelCellValue::BrokenTile || (c >= 100 && c != LevelCellValue::LevelGoal));
    };
    auto floor = [&](int cx, int cy) {
        const int c = grid.GetCell(cy * grid.GetWidth() + cx);
        return cy >= 0 && (c == LevelCellValue::GrassTile || c == LevelCellValue::DirtTile ||
                           c == LevelCellValue::BreakableTile);
    };
    for (int dx : {-3, 3, -4, 4, -2, 2, -5, 5})
        for (int dy : {0, 1, -1, 2, -2, 3})
            if (open(gx + dx, gy + dy) && open(gx + dx, gy + dy + 1) && floor(gx + dx, gy + dy - 1)) {
                x = static_cast<float>(gx + dx) + 0.5f;
                y = static_cast<float>(gy + dy) + 0.5f;
                return true;
            }
    return false;
}

// Sets the level's player down beside its goal and runs frames until the
// camera has come with it; false when the level has no goal.
bool GoToGoal(State* state) {
    Entity* goal = nullptr;
    for (Object* object : state->Objects())
        if (!object->_Deleted() && object->GetType() == "LevelGoal") goal = object;
    Entity* player = state->GetLevel() != nullptr ? state->GetLevel()->GetMyObject("Player_0") : nullptr;
    if (goal == nullptr || player == nullptr) return false;
    const D3DXVECTOR3 at = *FindVariable<D3DXVECTOR3>(goal, enum_position);
    float x = at.x - 2.5f, y = at.y;
    BesideGoal(at, x, y);
    auto& v = ObjectData::Player::Vars(player);
    v.position = {x, y, v.position.z};
    v.oldPosition = v.position;
    v.velocity = {0.0f, 0.0f};
    v.cameraPosition = {x, y};
    v.camY = y;
    if (Entity* camera = state->GetLevel()->GetMyObject("Camera"))
        if (auto* position = FindVariable<D3DXVECTOR3>(camera, enum_position)) *position = v.position;
    for (int f = 0; f < 45; ++f) {
        now += kFrameMs;
        state->Update();
        State::RemoveDeletedObjects();
        State::RemoveDeletedEngines();
        graphicsEngine.DrawAll();
    }
    return true;
}

// The last frame drawn, top row first.
bool ReadFrame(std::vector<std::uint8_t>& rgba) {
    rgba.assign(static_cast<std::size_t>(kWidth) * kHeight * 4, 0);
    return GraphicsEngine::ReadPixels(target, rgba.data());
}

}  // namespace

int main(int argc, char** argv) {
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
    target.width = kWidth;
    target.height = kHeight;
    target.Refresh();
    const TripleBuffer::Position buffers = TripleBuffer::Add(&target, &resolution);

    WireHeadless();
    RegisterTypes();
    LevelOrder.assign(BuiltInLevelNames.begin(), BuiltInLevelNames.end());

    int failures = 0;
    std::vector<std::uint8_t> rgba;
    for (int index = 0; index < static_cast<int>(BuiltInLevelNames.size()); ++index) {
        const std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
        CurrentLevelIndex = index;
        std::srand(1);  // the same grass every run
        auto* state = new State("SinglePlayer", true);
        State::_list.push_back(state);
        state->renderData = &*buffers;
        for (int f = 0; f < kFrames; ++f) {
            now += kFrameMs;
            state->Update();
            State::RemoveDeletedObjects();
            State::RemoveDeletedEngines();
            graphicsEngine.DrawAll();
        }
        const std::string path = (outdir / (name + ".png")).string();
        if (state->GetLevelName() != "SinglePlayer" || CurrentLevelName != name) {
            std::fprintf(stderr, "%s: the level did not start (now on \"%s\")\n", name.c_str(),
                         state->GetLevelName().c_str());
            ++failures;
        } else if (!ReadFrame(rgba)) {
            std::fprintf(stderr, "%s: the frame could not be read back\n", name.c_str());
            ++failures;
        } else if (!stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
            std::fprintf(stderr, "%s: cannot write %s: %s\n", name.c_str(), path.c_str(), std::strerror(errno));
            ++failures;
        } else {
            std::printf("%-14s %s  %zu quads\n", name.c_str(), path.c_str(), lastQuads);
            const std::string goalPath = (outdir / (name + "-goal.png")).string();
            if (!GoToGoal(state) || !ReadFrame(rgba) ||
                !stbi_write_png(goalPath.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4)) {
                std::fprintf(stderr, "%s: no picture of the goal area\n", name.c_str());
                ++failures;
            } else {
                std::printf("%-14s %s\n", "", goalPath.c_str());
            }
        }
        State::_list.remove(state);
        delete state;
        State::_currentState = nullptr;
    }

    Object::_DeleteAll();
    Game::_Shutdown();
    SetClockFunction(nullptr);
    TripleBuffer::Remove(buffers);
    target.Release();
    gl.Close();
    return failures == 0 ? 0 : 1;
}
