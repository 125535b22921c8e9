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
#include "objects/SheetRenderWorld.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace editortest {

struct Rgb {
    int r, g, b;
};

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
        return GameArea{0, 0, areaWidth, areaHeight, static_cast<float>(areaWidth) / static_cast<float>(areaHeight),
                        areaHeight};
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
    // Runs the screen's frames, then draws everything it holds into one
    // frame and reads it back.
    void Draw(const std::string& shot = "", int frames = 0) {
        for (int i = 0; i < frames; ++i) screen->Update();
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        State* remembered = State::_currentState;
        State::_currentState = screen;
        for (Object* object : screen->Objects())
            if (!object->_Deleted()) object->DoEvent("GraphicsDraw");
        State::_currentState = remembered;
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        engine->DrawAll();
        pixels.assign(static_cast<std::size_t>(w * h * 4), 0);
        ASSERT_TRUE(GraphicsEngine::ReadPixels(target, pixels.data()));
        if (std::getenv("GF_EDITOR_PICTURES") != nullptr) {
            const std::string path = "/tmp/" + kind + "_" + (shot.empty() ? name : shot) + ".png";
            stbi_write_png(path.c_str(), w, h, 4, pixels.data(), w * 4);
        }
    }

    // The pixel at game point (x, y): one unit high about the window's centre.
    Rgb At(float x, float y) const {
        const int px = std::clamp(static_cast<int>((x / aspect + 0.5f) * static_cast<float>(w - 1)), 0, w - 1);
        const int py = std::clamp(static_cast<int>((0.5f - y) * static_cast<float>(h - 1)), 0, h - 1);
        const std::size_t i = static_cast<std::size_t>((py * w + px) * 4);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    int Count(float left, float top, float right, float bottom, const std::function<bool(const Rgb&)>& test) const {
        int n = 0;
        for (float y = bottom; y <= top; y += 1.0f / static_cast<float>(h))
            for (float x = left; x <= right; x += 1.0f / static_cast<float>(h)) n += test(At(x, y)) ? 1 : 0;
        return n;
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
