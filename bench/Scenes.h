#pragma once
// The scenes the drawing benchmarks time and the picture guard test compares
// with its reference frames, built one way for both: a built-in level at its
// start as the game shows it, the 200 by 27 play level with 16 players, and
// N quads over the layer lists and the general list. Each draws at
// 1280x720 into one render target on the device HeadlessGL opened.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTypes.h"
#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/LevelCollision.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "networking/Match.h"
#include "objects/Camera.h"
#include "objects/GameplayHooks.h"
#include "objects/LevelGraphics.h"
#include "objects/Player.h"
#include "objects/PlayerDrawing.h"
#include "objects/PlayerInput.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/window/StateWindows.h"
#include "screens/PlayLevel.h"
#include "screens/SinglePlayer.h"

namespace scenes {

constexpr int kWidth = 1280, kHeight = 720;
constexpr float kAspect = static_cast<float>(kWidth) / static_cast<float>(kHeight);

// The one window's render target and the buffers the game fills for it.
class Target {
public:
    explicit Target(int width = kWidth, int height = kHeight)
        : resolution(static_cast<float>(width) / static_cast<float>(height)) {
        target.width = width;
        target.height = height;
        target.Refresh();
        position = TripleBuffer::Add(&target, &resolution);
    }
    ~Target() {
        TripleBuffer::Remove(position);
        target.Release();
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    // The last frame drawn, RGBA, top row first.
    bool Read(std::vector<std::uint8_t>& rgba) {
        rgba.assign(static_cast<std::size_t>(target.width) * static_cast<std::size_t>(target.height) * 4, 0);
        return GraphicsEngine::ReadPixels(target, rgba.data());
    }

    RenderTarget target;
    float resolution;
    TripleBuffer::Position position;
};

inline std::size_t QuadsIn(const Buffer& buffer) {
    std::size_t n = buffer.frames.size() + buffer.backgrounds.size();
    for (const auto& list : buffer.tiles) n += list.size();
    for (const auto& list : buffer.layers) n += list.size();
    return n;
}

// ---- Built-in levels at their start -------------------------------------

namespace detail {
inline std::uint32_t now = 0;
inline std::uint32_t Now() { return now; }
inline void (*handBack)(State*) = nullptr;
inline std::size_t lastQuads = 0;
inline void EndFrame(State* state) {
    if (const Buffer* buffer = state->takenBuffer) lastQuads = QuadsIn(*buffer);
    handBack(state);
}
// What a scene's picture depends on besides the scene itself: the game's
// clock (the injected one, and the start it counts from, which other users
// of the process may have moved) and the C random sequence, which the level
// drawing seeds from the clock every frame. A scene starts them as a fresh
// process has them, so scenes drawn one after another in one process draw
// what each draws alone; StartFresh answers the start it replaced, for
// EndFresh to put back.
inline std::uint32_t StartFresh() {
    const std::uint32_t start = GetStartTimeStamp();
    now = 0;
    SetStartTimeStamp(0);
    std::srand(1);
    return start;
}
// Puts the clock's start back and leaves the random sequence where a fresh
// process has it.
inline void EndFresh(std::uint32_t start) {
    SetStartTimeStamp(start);
    std::srand(1);
}
// The types' prototypes made by _FirstInit (and the levels included by
// hand): the registries let go of them when a scene ends, or every run would
// lose them.
inline void ReleaseTypes() {
    for (auto& [name, prototype] : Object::_objects) Entity::_Destroy(prototype);
    Object::_objects.clear();
    for (auto& [name, exObject] : Object::_exobjects) delete exObject;
    Object::_exobjects.clear();
    Object::_groups.clear();
    for (auto& [name, prototype] : Engine::_engines) Entity::_Destroy(prototype);
    Engine::_engines.clear();
    for (auto& [name, prototype] : Level::_levels) Entity::_Destroy(prototype);
    Level::_levels.clear();
}
}  // namespace detail

// The real "SinglePlayer" level in a state wired with the game's own frame
// hooks, on an injected clock, silent, with nothing pressed and no network.
class LevelStarts {
public:
    static constexpr int kFrames = 90;  // the camera settles, the fade in ends
    static constexpr std::uint32_t kFrameMs = 16;

    LevelStarts() {
        Wire();
        bench::RegisterTypes();
        LevelOrder.assign(BuiltInLevelNames.begin(), BuiltInLevelNames.end());
    }
    ~LevelStarts() {
        Object::_DeleteAll();
        Game::_Shutdown();
        detail::ReleaseTypes();
        SetClockFunction(nullptr);
    }
    LevelStarts(const LevelStarts&) = delete;
    LevelStarts& operator=(const LevelStarts&) = delete;

    // Runs built-in level `index` from its start for kFrames frames and reads
    // the last one back. Only the last frame is drawn unless drawEvery: the
    // game's side of a frame does not depend on what was drawn. With `goal`,
    // the player is then set down beside the level's goal and that frame is
    // read into it too. Answers an empty string, or why a picture could not
    // be taken.
    std::string Shoot(int index, std::vector<std::uint8_t>& rgba, bool drawEvery = false,
                      std::vector<std::uint8_t>* goal = nullptr) {
        const std::string name = BuiltInLevelNames[static_cast<std::size_t>(index)];
        CurrentLevelIndex = index;
        const std::uint32_t start = detail::StartFresh();  // the same grass every run
        auto* state = new State("SinglePlayer", true);
        State::_list.push_back(state);
        state->renderData = &*view.position;
        for (int f = 0; f < kFrames; ++f) {
            detail::now += kFrameMs;
            state->Update();
            State::RemoveDeletedObjects();
            State::RemoveDeletedEngines();
            if (drawEvery || f == kFrames - 1) graphicsEngine.DrawAll();
        }
        std::string why;
        if (state->GetLevelName() != "SinglePlayer" || CurrentLevelName != name)
            why = "the level did not start (now on \"" + state->GetLevelName() + "\")";
        else if (!view.Read(rgba))
            why = "the frame could not be read back";
        else if (goal != nullptr && (!GoToGoal(state) || !view.Read(*goal)))
            why = "no picture of the goal area";
        State::_list.remove(state);
        delete state;
        State::_currentState = nullptr;
        detail::EndFresh(start);
        return why;
    }
    std::size_t LastQuads() const { return detail::lastQuads; }
    // The window's draw buffers, and the frame it last handed over.
    TripleBuffer& View() { return *view.position; }
    const Buffer* NewestFrame() const {
        const Buffer* newest = nullptr;
        for (const Buffer& b : view.position->buffers)
            if (b.order >= 0 && (newest == nullptr || b.order > newest->order)) newest = &b;
        return newest;
    }

    // Any screen: a state opened on level, frames run (and drawn when asked,
    // the last one always), the picture read back, the state closed.
    State* Open(const std::string& level) {
        std::srand(1);
        auto* state = new State(level, true);
        State::_list.push_back(state);
        state->renderData = &*view.position;
        return state;
    }
    static void Run(State* state, int frames, bool drawEvery = false) {
        for (int f = 0; f < frames; ++f) {
            detail::now += kFrameMs;
            state->Update();
            State::RemoveDeletedObjects();
            State::RemoveDeletedEngines();
            if (drawEvery || f == frames - 1) graphicsEngine.DrawAll();
        }
    }
    bool Read(std::vector<std::uint8_t>& rgba) { return view.Read(rgba); }
    static void Close(State* state) {
        State::_list.remove(state);
        delete state;
        State::_currentState = nullptr;
    }

private:
    // A free cell with a floor under it a few cells beside the goal, where a
    // player standing sees the goal without touching it.
    static bool BesideGoal(const D3DXVECTOR3& goal, float& x, float& y) {
        const LevelCollision& grid = GameVars().basicLevel;
        const int gx = static_cast<int>(goal.x), gy = static_cast<int>(goal.y);
        // Cells by column and row: a place beside the level reads -1 (neither
        // open nor floor) instead of a cell of the next or previous row.
        auto open = [&](int cx, int cy) {
            const int c = grid.GetCell(cx, cy);
            return c == 0 || c == LevelCellValue::BrokenTile || (c >= 100 && c != LevelCellValue::LevelGoal);
        };
        auto floor = [&](int cx, int cy) {
            const int c = grid.GetCell(cx, cy);
            return c == LevelCellValue::GrassTile || c == LevelCellValue::DirtTile ||
                   c == LevelCellValue::BreakableTile;
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

    // Sets the level's player down beside its goal and runs (and draws)
    // frames until the camera has come with it; false when the level has no
    // goal.
    static bool GoToGoal(State* state) {
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
            detail::now += kFrameMs;
            state->Update();
            State::RemoveDeletedObjects();
            State::RemoveDeletedEngines();
            graphicsEngine.DrawAll();
        }
        return true;
    }

protected:
    // The game's frame hooks without windows, an injected clock, silence,
    // nothing pressed and no network: what every headless scene runs on.
    static void Wire() {
        InstallStateWindowHooks();
        detail::handBack = State::hooks.endFrame;
        State::hooks.createWindow = nullptr;
        State::hooks.destroyWindow = nullptr;
        State::hooks.endFrame = &detail::EndFrame;
        State::hooks.renderHeight = [](const State*) { return kHeight; };
        State::hooks.anyWindowActive = nullptr;
        State::hooks.resetInput = nullptr;
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
        PlayLevel::controls.menuPause = [] { return false; };
        PlayLevel::controls.networkGame = [] { return false; };
        SetClockFunction(&detail::Now);
    }

private:
    Target view;
};

// ---- The 200 by 27 play level with 16 players ---------------------------

// Ground with grass, hills, floating platforms, spike pits and breakable walls.
inline LevelCollision BuildBenchLevel() {
    LevelCollision grid(200, 27);
    auto set = [&](int c, int r, int v) {
        grid.SetCell(static_cast<float>(c) + 0.5f, static_cast<float>(r) + 0.5f, v);
    };
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

// The grid with grass, dirt, spikes and breakable blocks, 16 players (boosted:
// with their trails; calm: without) and their paint, the night-sky strips,
// the sky, the HUD moon and its stars, through the real drawing objects.
class PlayScene {
public:
    explicit PlayScene(bool calm) {
        // An injected clock: the grass is shaken from a seed taken from the
        // time, so frame f of every run looks the same.
        start = detail::StartFresh();
        // The HUD moon's picture follows the level's place in the match.
        levelIndex = CurrentLevelIndex;
        matchLevels = MatchLevelCount;
        CurrentLevelIndex = 0;
        MatchLevelCount = 0;
        SetClockFunction(&detail::Now);
        State::hooks = StateHooks{};
        bench::RegisterTypes();
        auto* level = new Level(sizeof(Level));
        level->_SetName("Bench");
        level->_type = "Bench";
        level->_free = &Entity::_CallUnload;
        Level::_IncludeLevel("Bench", level);
        state = new State("Bench", true);
        State::_list.push_back(state);
        gameplayHooks.aspect = [] { return kAspect; };
        gameplayHooks.clientId = [] { return 0; };
        gameplayHooks.send = [](const PlayerMessage&) {};
        gameplayHooks.playSound = [](AudioList, float) {};
        GameVars().basicLevel = BuildBenchLevel();

        camera = Object::MakeCopy(state, "Camera", "Camera");
        graphics = Object::MakeCopy(state, "LevelGraphics", "LevelGraphics");
        // What every play level puts behind its grid: the HUD moon and its
        // stars, the three night-sky strips and the sky.
        State::_currentState = state;
        std::srand(1);
        PlayLevel::SpawnSky();
        for (Object* o : state->Objects())
            if (o != camera && o != graphics) scenery.push_back(o);
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
    }
    ~PlayScene() {
        for (State* s : State::_list) delete s;
        State::_list.clear();
        State::_currentState = nullptr;
        Object::_DeleteAll();
        Game::_Shutdown();
        detail::ReleaseTypes();
        SetClockFunction(nullptr);
        detail::EndFresh(start);
        CurrentLevelIndex = levelIndex;
        MatchLevelCount = matchLevels;
    }
    PlayScene(const PlayScene&) = delete;
    PlayScene& operator=(const PlayScene&) = delete;

    // The game's side of frame f: moves and animates the players and queues
    // the frame into the oldest buffer. Answers the quads queued.
    std::size_t Queue(int f) {
        detail::now = 1000u + 16u * static_cast<std::uint32_t>(f);
        for (Object* p : players) {
            auto& v = ObjectData::Player::Vars(p);
            v.position.x += v.velocity.x * ((f / 60) % 2 == 0 ? 1.0f : -1.0f);
            v.position.y = v.oldPosition.y + 0.02f * static_cast<float>((f % 20) - 10);
            ObjectData::Player::Animate(p, p);
        }
        ObjectData::LevelGraphics::GraphicsUpdate(graphics, graphics);
        Buffer* buffer = view.position->GetOldestBuffer();
        buffer->Clear();
        graphicsEngine.SetCurrentBuffer(buffer);
        ObjectData::Camera::PreCameraUpdate(camera, camera);
        ObjectData::LevelGraphics::GraphicsDraw(graphics, graphics);
        for (Object* o : scenery) o->DoEvent("GraphicsDraw");
        for (Object* p : players) ObjectData::Player::Draw(p, p);
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        const std::size_t n = QuadsIn(*buffer);
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        last = buffer;
        return n;
    }
    // The frame Queue filled last (until the renderer draws it again).
    const Buffer& LastFrame() const { return *last; }

    Target view;

private:
    State* state = nullptr;
    Object* camera = nullptr;
    Object* graphics = nullptr;
    std::vector<Object*> scenery;
    std::vector<Object*> players;
    const Buffer* last = nullptr;
    std::uint32_t start = 0;
    int levelIndex = 0;
    int matchLevels = 0;
};

// Frames queued once and handed to the renderer again as they were, so that
// everything timed against them draws the same scene in the same state.
class Recording {
public:
    void Add(const Buffer& frame) { frames.push_back(frame); }
    std::size_t Size() const { return frames.size(); }
    const Buffer& Frame(std::size_t k) const { return frames[k]; }
    // Changes every recorded frame (to leave a list out, say).
    template <class Change>
    void ForEach(Change&& change) {
        for (Buffer& frame : frames) change(frame);
    }
    // Recorded frame k (counted round) becomes the view's newest frame.
    void Replay(std::size_t k, TripleBuffer& view) const {
        Buffer* buffer = view.GetOldestBuffer();
        if (buffer == nullptr || frames.empty()) return;
        // The hand-over fields belong to the view's buffer, not the copy.
        const bool blocked = buffer->blocked;
        const int order = buffer->order;
        *buffer = frames[k % frames.size()];
        buffer->available = false;
        buffer->order = order;
        buffer->blocked = blocked;
        buffer->Ready();
    }

private:
    std::vector<Buffer> frames;
};

// ---- N quads over the layer lists and the general list ------------------

// Four 64 by 64 sheets with soft, partly transparent pictures; N quads spread
// over the four layer lists and the general list, and with compose each
// layer's target drawn over the window as one more quad.
class QuadScene {
public:
    QuadScene() {
        for (int s = 0; s < 4; ++s) {
            std::vector<std::uint32_t> pixels(64 * 64);
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const int dx = x - 32, dy = y - 32;
                    const std::uint32_t a = static_cast<std::uint32_t>(std::max(0, 255 - (dx * dx + dy * dy) / 4));
                    pixels[static_cast<std::size_t>(y * 64 + x)] =
                        (a << 24) | (0x40u * static_cast<std::uint32_t>(s)) | 0x00FF8000u;
                }
            sheets.push_back(GraphicsEngine::CreateTexture(64, 64, pixels.data(), true));
        }
    }
    ~QuadScene() {
        for (GLTexture* sheet : sheets) ReleaseGLTexture(sheet);
    }
    QuadScene(const QuadScene&) = delete;
    QuadScene& operator=(const QuadScene&) = delete;

    // In each layer list the quads of one sheet come together, as drawing
    // objects queue them, in two runs; the general list, sorted by depth,
    // draws from one sheet.
    void Queue(int n, bool compose) {
        Buffer& b = *view.position->GetOldestBuffer();
        b.Clear();
        for (int i = 0; i < n; ++i) {
            const float x = -0.85f + 1.7f * static_cast<float>((i * 37) % 101) / 100.0f;
            const float y = -0.45f + 0.9f * static_cast<float>((i * 53) % 97) / 96.0f;
            const int list = i % 5;
            GLTexture* sheet = sheets[static_cast<std::size_t>((list + (i * 2 / n)) % 4)];
            if (list < 4)
                b.AddFrameToLayer(static_cast<unsigned>(list), x, y, 0, 0.06f, 0.06f, 0.3f, sheet, 0, 0, 1, 1, -1);
            else
                b.AddFrame(x, y, static_cast<float>(i % 7), 0.06f, 0.06f, 0, sheets[0], 0, 0, 1, 1, -1);
        }
        if (compose)
            for (unsigned j = 0; j < 4; ++j) b.AddFrame(0, 0, 100.0f + static_cast<float>(j), kAspect, 1, 0, j, -1);
        b.Ready();
    }

    Target view;

private:
    std::vector<GLTexture*> sheets;
};

}  // namespace scenes
