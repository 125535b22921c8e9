#pragma once
// Test helper: one screen (a level type) opened by name in a state of its own
// and drawn through the real renderer with the baked sheets at its window's
// size, read back as pixels, with the questions the editors' pixel tests ask
// of a frame. GF_EDITOR_PICTURES=1 keeps each frame as /tmp/<kind>_<shot>.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "editor/EditorWorld.h"
#include "support/PixelFrame.h"
#include "support/PngFile.h"
#include "support/SheetRenderWorld.h"

namespace editortest {

using testsupport::Rgb;

class ScreenPixelWorld : public objtest::SheetRenderWorld {
protected:
    explicit ScreenPixelWorld(std::string pictureKind) : kind(std::move(pictureKind)) {}

    void SetUp() override {
        SheetRenderWorld::SetUp();
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
        InstallEditorTypes();
        savedArea = GraphicsEngine::currentGameArea;
    }
    void TearDown() override {
        GraphicsEngine::currentGameArea = savedArea;
        SheetRenderWorld::TearDown();
    }
    // The game area of the screen's window, which the screen lays itself out for.
    static GameArea ScreenArea() {
        return GameArea{
            0, 0, areaWidth, areaHeight, static_cast<float>(areaWidth) / static_cast<float>(areaHeight), areaHeight};
    }

    // Opens the screen level in a state of its own, drawn into frames of
    // width by height pixels (sizes given in pixels are taken against them).
    void Open(const char* level, int width, int height) {
        name = level;
        areaWidth = width;
        areaHeight = height;
        GraphicsEngine::currentGameArea = &ScreenArea;
        State::hooks.renderHeight = [](const State*) { return areaHeight; };
        screen = NewState(level);
        ASSERT_NE(screen, nullptr);
        target.Release();
        target.width = w = width;
        target.height = h = height;
        target.Refresh();
        aspect = static_cast<float>(width) / static_cast<float>(height);
    }
    // Runs the screen's frames, then draws everything it holds (or only the
    // objects `only` takes) into one frame and reads it back.
    void Draw(const std::string& shot = "", int frames = 0, const std::function<bool(Object*)>& only = nullptr) {
        for (int i = 0; i < frames; ++i) screen->Update();
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        State* remembered = State::_currentState;
        State::_currentState = screen;
        for (Object* object : screen->Objects())
            if (!object->_Deleted() && (!only || only(object))) object->DoEvent("GraphicsDraw");
        State::_currentState = remembered;
        EndFrame(buffer);
        if (HasFatalFailure()) return;
        if (std::getenv("GF_EDITOR_PICTURES") != nullptr) {
            const std::string path = "/tmp/" + kind + "_" + (shot.empty() ? name : shot) + ".png";
            testsupport::WritePng(path, w, h, 4, pixels.data());
        }
    }

    // The frame read back, looked up by game point: one unit high about the
    // window's centre.
    testsupport::PixelFrame Frame() const { return {pixels, w, h}; }
    Rgb At(float x, float y) const { return Frame().At(x, y); }
    int Count(float left, float top, float right, float bottom, const std::function<bool(const Rgb&)>& test) const {
        return Frame().Count(left, top, right, bottom, test);
    }
    // A box of (w, h) about (x, y) holds some pixels that pass test.
    bool Has(float x, float y, float bw, float bh, const std::function<bool(const Rgb&)>& test) const {
        return Count(x - bw / 2, y + bh / 2, x + bw / 2, y - bh / 2, test) > 3;
    }

    static inline int areaWidth = 0, areaHeight = 0;
    GameArea (*savedArea)() = nullptr;
    Object* camera = nullptr;
    State* screen = nullptr;
    std::string kind, name;
    int w = kWidth, h = kHeight;
};

}  // namespace editortest
