#pragma once
// The level editor screen as the game makes it ("LevelEditor" in a state of
// its own) on a level file written into a temporary user folder, drawn
// through the real renderer with the baked sheets at 1280x720 into one
// render target on the device HeadlessGL opened. Time runs on an injected
// clock; nothing is pressed.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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

class EditorScene {
public:
    EditorScene() {
        folder = std::filesystem::path(TemporaryPath()) / ("gf-editor-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "Levels");
        std::copy(std::begin(Globals.userDataFolder), std::end(Globals.userDataFolder), std::begin(savedFolder));
        CopyPath(Globals.userDataFolder, folder.string());

        State::hooks = StateHooks{};
        GraphicsEngine::currentGameArea = &Area;
        inputHooks.windowActive = [] { return true; };
        inputHooks.windowWasActive = [] { return true; };
        Keyboard.Init();
        Mouse.Init();
        inputEngine.InitDIKMap();
        inputEngine.Reset();
        Widgets::hooks.playSound = [](AudioList, float) {};
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
        std::copy(std::begin(savedFolder), std::end(savedFolder), std::begin(Globals.userDataFolder));
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
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
        LevelData::LevelEditor::Variables* v = Editor();
        ObjectData::Grid::Variables* g = Grid();
        if (v == nullptr || g == nullptr) return;
        v->ZoomScale = zoom;
        g->tex = zoom == 1 ? g->grid11 : (zoom == 2 ? g->grid12 : g->grid14);
        LevelData::LevelEditor::LayOutView(state->GetLevel(), false);
    }

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

    Target view;
    State* state = nullptr;
    std::filesystem::path folder;
    char savedFolder[TheGlobals::kPathSize] = {};
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

}  // namespace scenes
