#pragma once
// A hidden window with the engine's GL context made current on the test
// thread, which stands in for the render thread; plus helpers that read a
// render target back as pixels.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/DirectX.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"

struct Pixel {
    int r, g, b, a;
};

class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Keeps the GL driver loaded for the whole run (see SanitizerSuppressions.cpp).
        SDL_GL_LoadLibrary(nullptr);
        SetGLWindowAttributes();
        window = SDL_CreateWindow("test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        engine = new GraphicsEngine;
        engine->SetDeviceWindow(window);
        ASSERT_TRUE(engine->InitDX(64, 64));
        const std::uint32_t whitePixel = 0xFFFFFFFFu;
        white = GraphicsEngine::CreateTexture(1, 1, &whitePixel, false);
    }
    static void TearDownTestSuite() {
        ReleaseGLTexture(white);
        white = nullptr;
        engine->ReleaseDevice();
        delete engine;
        engine = nullptr;
        SDL_DestroyWindow(window);
        window = nullptr;
        // The video subsystem stays up: unloading the GL driver at exit
        // would leave its own allocations without a module to name.
    }

    void SetUp() override {
        target.width = 64;
        target.height = 64;
        target.Refresh();
        position = TripleBuffer::Add(&target, &aspect);
    }
    void TearDown() override {
        TripleBuffer::Remove(position);
        target.Release();
    }

    // The game thread's side of one frame.
    Buffer& Begin() {
        Buffer* buffer = position->GetOldestBuffer();
        EXPECT_NE(buffer, nullptr);
        buffer->Clear();
        engine->SetCurrentBuffer(buffer);
        return *buffer;
    }
    void Finish(Buffer& buffer) { buffer.Ready(); }
    // Draws the frame and reads the window's target back.
    void Draw() {
        engine->DrawAll();
        pixels.assign(static_cast<std::size_t>(target.width * target.height * 4), 0);
        ASSERT_TRUE(GraphicsEngine::ReadPixels(target, pixels.data()));
    }
    Pixel At(int x, int y) const { return At(pixels, target.width, x, y); }
    static Pixel At(const std::vector<std::uint8_t>& image, int width, int x, int y) {
        const std::size_t i = static_cast<std::size_t>((y * width + x) * 4);
        return {image[i], image[i + 1], image[i + 2], image[i + 3]};
    }

    static inline SDL_Window* window = nullptr;
    static inline GraphicsEngine* engine = nullptr;
    static inline GLTexture* white = nullptr;

    RenderTarget target;
    float aspect = 1.0f;
    TripleBuffer::Position position;
    std::vector<std::uint8_t> pixels;
};
