#pragma once
// The level editor screen as the game makes it ("LevelEditor" in a state of
// its own) on a level file written into a temporary user folder, drawn
// through the real renderer with the baked sheets at 1280x720 into one
// render target on the device HeadlessGL opened. Time runs on an injected
// clock; the pointer and the left button can be worked through the input
// layer, as the window thread feeds them.
#include <SDL2/SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "PointerInput.h"
#include "Scenes.h"
#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "framework/Globals.h"
#include "framework/Paths.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace scenes {

// A user folder of its own with an empty "Levels" folder, the program's
// user folder while it lives; removed with everything in it after.
class TempLevelFolder {
public:
    TempLevelFolder() {
        folder = std::filesystem::path(TemporaryPath()) / ("gf-editor-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "Levels");
        std::copy(std::begin(Globals.userDataFolder), std::end(Globals.userDataFolder), std::begin(savedFolder));
        CopyPath(Globals.userDataFolder, folder.string());
    }
    ~TempLevelFolder() {
        std::copy(std::begin(savedFolder), std::end(savedFolder), std::begin(Globals.userDataFolder));
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TempLevelFolder(const TempLevelFolder&) = delete;
    TempLevelFolder& operator=(const TempLevelFolder&) = delete;

private:
    std::filesystem::path folder;
    char savedFolder[TheGlobals::kPathSize] = {};
};

class EditorScene {
public:
    EditorScene() {
        State::hooks = StateHooks{};
        pointer::Start(&Area);
        SetClockFunction(&detail::Now);
        bench::RegisterTypes();
    }
    ~EditorScene() {
        Close();
        Object::_DeleteAll();
        Game::_Shutdown();
        detail::ReleaseTypes();
        SetClockFunction(nullptr);
        Keyboard.Free();
        Mouse.Free();
    }
    EditorScene(const EditorScene&) = delete;
    EditorScene& operator=(const EditorScene&) = delete;

    // Writes grid as the level `name` and opens the editor on it; false when
    // the editor did not open it.
    bool Open(const LevelCollision& grid, const std::string& name) {
        Close();
        if (!grid.Save(name + ".lvl")) return false;
        EditorLevelName = name;
        state = new State("LevelEditor", true);
        State::_list.push_back(state);
        Frame(false);
        return Editor() != nullptr && Editor()->LevelName == name;
    }

    // Sets the zoom (1, 2 or 4) as the zoom button does.
    void Zoom(int zoom) {
        if (state != nullptr) LevelData::LevelEditor::SetZoom(state->GetLevel(), zoom);
    }

    // The pointer to game point (x, y) of the 1280x720 view, and the left
    // button down or up, as the window's events bring them.
    void PointAt(float x, float y) {
        const int px = kWidth / 2 + static_cast<int>(x * static_cast<float>(kHeight));
        const int py = kHeight / 2 - static_cast<int>(y * static_cast<float>(kHeight));
        pointer::Move(px, py, mouseX, mouseY);
        mouseX = px;
        mouseY = py;
    }
    void LeftButton(bool down) { pointer::LeftButton(down, mouseX, mouseY); }
    // A left-button drag from game point (x0, y0) to (x1, y1), each step in
    // a frame of its own; released at the end when release is set.
    void Drag(float x0, float y0, float x1, float y1, bool release = true) {
        PointAt(x0, y0);
        Frame(false);
        LeftButton(true);
        Frame(false);
        PointAt(x1, y1);
        Frame(false);
        if (!release) return;
        LeftButton(false);
        Frame(false);
    }
    // A click at game point (x, y).
    void Click(float x, float y) { Drag(x, y, x, y); }

    Level* EditorLevel() const { return state != nullptr ? state->GetLevel() : nullptr; }

    // One frame: the game's side (the editor's passes, queueing included),
    // then, when draw is set, the render. Times in milliseconds.
    struct Times {
        double game = 0.0, render = 0.0;
        std::size_t quads = 0;
    };
    Times Frame(bool draw) {
        Times t;
        detail::now += 16;
        const auto g0 = std::chrono::steady_clock::now();
        inputEngine.InternalUpdate();
        inputEngine.GameUpdate();
        Buffer* buffer = view.position->GetOldestBuffer();
        buffer->Clear();
        // The camera the cleared buffer keeps, as a window's frame begins.
        CameraGlobals::x = buffer->cameraX;
        CameraGlobals::y = buffer->cameraY;
        CameraGlobals::r = buffer->cameraScale;
        graphicsEngine.SetCurrentBuffer(buffer);
        state->Update();
        State::EndOfFrame();
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        t.quads = QuadsIn(*buffer);
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        const auto g1 = std::chrono::steady_clock::now();
        t.game = std::chrono::duration<double, std::milli>(g1 - g0).count();
        if (draw) {
            graphicsEngine.DrawAll();
            glFinish();
            t.render = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g1).count();
        }
        return t;
    }

    bool Read(std::vector<std::uint8_t>& rgba) { return view.Read(rgba); }

    LevelData::LevelEditor::Variables* Editor() const {
        return state != nullptr ? LevelData::LevelEditor::Find(state->GetLevel()) : nullptr;
    }
    ObjectData::Grid::Variables* Grid() const {
        return state != nullptr && state->GetLevel() != nullptr
                   ? ObjectData::Grid::Find(state->GetLevel()->GetMyObject("EGrid"))
                   : nullptr;
    }

private:
    static GameArea Area() { return GameArea{0, 0, kWidth, kHeight, kAspect, kHeight}; }

    void Close() {
        if (state == nullptr) return;
        State::_list.remove(state);
        delete state;
        state = nullptr;
        State::_currentState = nullptr;
    }

    TempLevelFolder folder;
    Target view;
    State* state = nullptr;
    int mouseX = 0, mouseY = 0;
};

// A 200 by 200 level with every kind of cell: ground with grass, floating
// platforms, spike rows, breakable walls, springs, shards and fireflies.
inline LevelCollision BuildEditorBenchLevel() {
    LevelCollision grid(200, 200);
    auto set = [&](int c, int r, int v) {
        grid.SetCell(static_cast<float>(c) + 0.5f, static_cast<float>(r) + 0.5f, v);
    };
    for (int c = 0; c < 200; ++c) {
        const int ground = 3 + (c / 17) % 3;
        for (int r = 0; r < ground; ++r) set(c, r, r == ground - 1 ? 1 : 2);
        for (int band = 10; band < 200; band += 9) {
            if ((c + band) % 13 < 6) set(c, band + (c / 13) % 3, (c + band) % 7 == 0 ? 7 : 1);
            if ((c + band) % 29 == 3) set(c, band + 3, 3 + (c % 4));
            if ((c + band) % 37 == 5) set(c, band + 4, 104 + (c % 3));
            if ((c + band) % 11 == 7) set(c, band + 5, (c % 2) ? 108 : 100);
        }
    }
    set(1, 3, 101);
    set(198, 190, 102);
    return grid;
}

// The first built-in level as a level maker might have begun changing it:
// spikes on its floor and on a wall, and two cells holding values the
// editor does not know (as a damaged or newer file might).
inline LevelCollision BuildEditorSampleLevel() {
    LevelCollision grid;
    if (!grid.SLoad(0)) return grid;
    // The first empty cell above the ground in column c.
    auto above = [&](int c) {
        int r = 0;
        while (r < grid.GetHeight() && grid.GetCell(c, r) != 0) ++r;
        return r;
    };
    auto set = [&](int c, int r, int v) {
        grid.SetCell(static_cast<float>(c) + 0.5f, static_cast<float>(r) + 0.5f, v);
    };
    for (int c = 6; c <= 8; ++c) set(c, above(c), 3);
    set(11, above(11) + 3, 2);
    set(11, above(11) + 4, 2);
    set(12, above(12) + 3, 4);
    set(10, above(10) + 3, 6);
    set(11, above(11) + 5, 3);
    set(11, above(11) + 2, 5);
    set(13, above(13) + 1, 0x7fffffff);
    set(14, above(14) + 1, -7);
    return grid;
}

// The centre of view cell (c, r) of the editor's grid, the view unscrolled
// at zoom 1.
inline float EditorCellX(int c) { return -0.35f + (static_cast<float>(c) + 0.5f) * 1.1f / 16.0f; }
inline float EditorCellY(int r) { return -0.25f + (static_cast<float>(r) + 0.5f) * 0.7f / 9.0f; }

}  // namespace scenes
