#pragma once
// Test helper: a window's level opened in a state of its own and drawn
// through the real renderer with the baked sheets at the window's size,
// read back as pixels, with small colour tests and the pixel under a game
// point. GF_EDITOR_PICTURES set writes each frame to /tmp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "editor/EditorWorld.h"
#include "objects/SheetRenderWorld.h"
#include "widgets/SingleLineTextBox.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace editortest {

struct Rgb {
    int r, g, b;
};

class WindowPixelWorld : public objtest::SheetRenderWorld {
protected:
    void SetUp() override {
        objtest::SheetRenderWorld::SetUp();
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
        InstallEditorTypes();
        savedArea = GraphicsEngine::currentGameArea;
    }
    void TearDown() override {
        GraphicsEngine::currentGameArea = savedArea;
        objtest::SheetRenderWorld::TearDown();
    }
    // The game area of the dialog's window, which the dialog lays itself out for.
    static GameArea DialogArea() {
        return GameArea{0, 0, areaWidth, areaHeight, static_cast<float>(areaWidth) / static_cast<float>(areaHeight),
                        areaHeight};
    }

    // Opens the dialog level in a state of its own, drawn into frames of
    // width by height pixels.
    void Open(const char* level, int width, int height) {
        name = level;
        areaWidth = width;
        areaHeight = height;
        GraphicsEngine::currentGameArea = &DialogArea;
        dialog = NewState(level);
        ASSERT_NE(dialog, nullptr);
        target.Release();
        target.width = w = width;
        target.height = h = height;
        target.Refresh();
        aspect = static_cast<float>(width) / static_cast<float>(height);
    }
    // Draws everything the dialog holds into one frame and reads it back.
    void Draw() {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        State* remembered = State::_currentState;
        State::_currentState = dialog;
        for (Object* object : dialog->Objects())
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
            const std::string path = "/tmp/dialog_" + name + ".png";
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

    static bool Ink(const Rgb& c) { return c.r + c.g + c.b < 420; }
    static bool White(const Rgb& c) { return c.r > 235 && c.g > 235 && c.b > 235; }
    static bool Pale(const Rgb& c) { return c.r > 150 && c.b > 180 && c.b >= c.r; }
    static bool Yellow(const Rgb& c) { return c.r > 110 && c.g > 110 && c.b < c.r - 40; }
    static bool Navy(const Rgb& c) { return c.b > c.r + 20 && c.r < 80; }

    // The text boxes of the dialog: white, with no ink where nothing is typed.
    void ExpectBox(const char* name) {
        auto* box = ObjectData::SingleLineTextBox::Find(dialog->GetLevel()->GetMyObject(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_TRUE(White(At(box->position.x, box->position.y))) << name;
    }
    // A button's plate is pale, and its word dark.
    void ExpectButton(float x, float y, float bw, float bh) {
        EXPECT_TRUE(Has(x, y, bw * 0.9f, bh * 0.6f, &Pale)) << x << ", " << y;
        EXPECT_TRUE(Has(x, y, bw * 0.6f, bh * 0.6f, &Ink)) << x << ", " << y;
    }

    static inline int areaWidth = 0, areaHeight = 0;
    GameArea (*savedArea)() = nullptr;
    Object* camera = nullptr;
    State* dialog = nullptr;
    std::string name;
    TempUserFolder folder;
    int w = kWidth, h = kHeight;
};

}  // namespace editortest
