// A play level as the game draws it: a 200 by 27 grid (the built-in levels'
// size) with grass, dirt, spikes and breakable blocks, 16 boosted players
// with their trails and paint, the night-sky strips, the sky, the HUD moon
// and its stars, through the real drawing objects and renderer at 1280x720.
// Prints quads and draw calls per frame, the game thread's queueing time and
// the render thread's time per frame.
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "objects/Camera.h"
#include "objects/GameplayHooks.h"
#include "objects/LevelGraphics.h"
#include "objects/PlayerDrawing.h"
#include "HeadlessGL.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/TripleBuffer.h"
#include "screens/PlayLevel.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr float kAspect = static_cast<float>(kWidth) / static_cast<float>(kHeight);

// Ground with grass, hills, floating platforms, spike pits and breakable walls.
LevelCollision BuildLevel() {
    LevelCollision grid(200, 27);
    auto set = [&](int c, int r, int v) { grid.SetCell(static_cast<float>(c) + 0.5f, static_cast<float>(r) + 0.5f, v); };
    for (int c = 0; c < 200; ++c) {
        const int ground = 3 + (c / 17) % 3;
        for (int r = 0; r < ground; ++r) set(c, r, r == ground - 1 ? 1 : 2);
        set(c, 26, 2);
        if (c % 23 == 11) {
            for (int k = 0; k < 3; ++k) set(c + k, ground, 3);
        }
        if (c % 31 == 20) {
            for (int r = ground; r < ground + 4; ++r) set(c, r, 7);
        }
        if (c % 13 < 5) set(c, 12 + (c / 13) % 6, 1);
        if (c % 29 == 3) set(c, 20, 5);
    }
    for (int r = 0; r < 27; ++r) {
        set(0, r, 2);
        set(199, r, 2);
    }
    grid.GenerateCompleteTileGrid();
    return grid;
}

}  // namespace

int main(int argc, char** argv) {
    // "calm": the players are not boosted, so they leave no trail.
    const bool calm = argc > 1 && std::string(argv[1]) == "calm";
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;

    RenderTarget target;
    target.width = kWidth;
    target.height = kHeight;
    target.Refresh();
    float aspect = kAspect;
    auto position = TripleBuffer::Add(&target, &aspect);

    // The entity world without windows or devices.
    State::hooks = StateHooks{};
    Game::_FirstInit();
    Object::_FirstInit();
    auto* level = new Level(sizeof(Level));
    level->_SetName("Bench");
    level->_type = "Bench";
    level->_free = &Entity::_CallUnload;
    Level::_IncludeLevel("Bench", level);
    State* state = new State("Bench", true);
    State::_list.push_back(state);
    gameplayHooks.aspect = [] { return kAspect; };
    gameplayHooks.clientId = [] { return 0; };
    gameplayHooks.send = [](const PlayerMessage&) {};
    gameplayHooks.playSound = [](AudioList, float) {};
    GameVars().basicLevel = BuildLevel();

    Object* camera = Object::MakeCopy(state, "Camera", "Camera");
    Object* graphics = Object::MakeCopy(state, "LevelGraphics", "LevelGraphics");
    // What every play level puts behind its grid: the HUD moon and its
    // stars, the three night-sky strips and the sky.
    State::_currentState = state;
    PlayLevel::SpawnSky();
    std::vector<Object*> scenery;
    for (Object* o : state->Objects())
        if (o != camera && o != graphics) scenery.push_back(o);
    std::vector<Object*> players;
    for (int n = 0; n < 16; ++n) {
        Object* p = Object::MakeCopy(state, "Player", PlayerObjectName(n).c_str());
        auto& v = ObjectData::Player::Vars(p);
        v.position = {90.0f + static_cast<float>(n % 8) * 1.5f, 7.0f + static_cast<float>(n / 8) * 2.0f, 0.0f};
        v.oldPosition = v.position;
        v.spdBoost = calm ? 0.0f : 1000.0f;
        v.velocity = {0.12f, 0.0f};
        v.userControlled = n == 0;
        // A death's worth of paint on the way.
        for (int k = 0; k < 32; ++k)
            ObjectData::Player::AddBall(v, {v.position.x, v.position.y + 2.0f, 0.0f},
                                        {0.01f * static_cast<float>(k % 5), 0.05f}, {0.2f, 0.2f}, true);
        players.push_back(p);
    }
    auto& cam = VariablesOf<ObjectData::Camera::Variables>(camera);
    cam.position = {96.0f, 9.0f, 0.0f};
    cam.scale = 15.0f;  // boosted: the wider view

    const int warmup = 30, frames = 120;
    double renderMs = 0.0, queueMs = 0.0;
    std::uint64_t draws = 0, quads = 0;
    for (int f = 0; f < warmup + frames; ++f) {
        const auto q0 = std::chrono::steady_clock::now();
        for (Object* p : players) {
            auto& v = ObjectData::Player::Vars(p);
            v.position.x += v.velocity.x * ((f / 60) % 2 == 0 ? 1.0f : -1.0f);
            v.position.y = v.oldPosition.y + 0.02f * static_cast<float>((f % 20) - 10);
            ObjectData::Player::Animate(p, p);
        }
        ObjectData::LevelGraphics::GraphicsUpdate(graphics, graphics);
        Buffer* buffer = position->GetOldestBuffer();
        buffer->Clear();
        graphicsEngine.SetCurrentBuffer(buffer);
        ObjectData::Camera::PreCameraUpdate(camera, camera);
        ObjectData::LevelGraphics::GraphicsDraw(graphics, graphics);
        for (Object* o : scenery) o->DoEvent("GraphicsDraw");
        for (Object* p : players) ObjectData::Player::Draw(p, p);
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        std::uint64_t n = buffer->frames.size() + buffer->backgrounds.size();
        for (const auto& list : buffer->tiles) n += list.size();
        for (const auto& list : buffer->layers) n += list.size();
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        const auto q1 = std::chrono::steady_clock::now();

        graphicsEngine.drawCalls = 0;
        const auto r0 = std::chrono::steady_clock::now();
        graphicsEngine.DrawAll();
        glFinish();
        const auto r1 = std::chrono::steady_clock::now();
        if (f >= warmup) {
            queueMs += std::chrono::duration<double, std::milli>(q1 - q0).count();
            renderMs += std::chrono::duration<double, std::milli>(r1 - r0).count();
            draws += graphicsEngine.drawCalls;
            quads += n;
        }
    }
    std::printf("play level 200x27, 16 %s players, night-sky strips, sky, HUD moon and stars, %dx%d\n",
                calm ? "calm" : "boosted (trails)", kWidth, kHeight);
    std::printf("quads/frame  draws/frame  game ms/frame  render ms/frame (target < 16)\n");
    std::printf("%11.0f  %11.1f  %13.2f  %15.2f\n", static_cast<double>(quads) / frames,
                static_cast<double>(draws) / frames, queueMs / frames, renderMs / frames);

    for (State* s : State::_list) delete s;
    State::_list.clear();
    TripleBuffer::Remove(position);
    target.Release();
    gl.Close();
    return 0;
}
