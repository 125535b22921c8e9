#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <chrono>
#include <thread>

#include "framework/Quit.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"
#include "support/WaitFor.h"

using testsupport::WaitFor;

// The render thread makes the context, loads, waits for the start-up window
// to be replaced, then draws the game thread's frames until Quitting; render
// targets asked for by another thread are made on the render thread.
TEST(RenderThread, DrawsFramesQueuedByAnotherThreadUntilQuitting) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // Keeps the GL driver loaded for the whole run (see SanitizerSuppressions.cpp).
    SDL_GL_LoadLibrary(nullptr);
    SetGLWindowAttributes();
    SDL_Window* window = SDL_CreateWindow("device", 0, 0, 32, 32, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr);
    GraphicsEngine engine;
    engine.SetDeviceWindow(window);
    ASSERT_TRUE(engine.FirstInit());
    EXPECT_TRUE(engine.IsReady());

    RenderTarget target;
    target.width = target.height = 32;
    target.Refresh();  // not the render thread: only flagged
    EXPECT_EQ(target.texture, nullptr);
    float aspect = 1.0f;
    auto position = TripleBuffer::Add(&target, &aspect);
    engine.ReplaceInitialWindowFlag();

    auto updated = [&] {
        std::lock_guard<WatchedMutex> lock(TripleBuffer::ListCritical);
        return target.updated;
    };
    bool drawn = false;
    for (int frame = 0; frame < 1000 && !drawn; ++frame) {
        Buffer* b = position->GetOldestBuffer();
        ASSERT_NE(b, nullptr);
        b->Clear();
        b->AddFrame(0, 0, 0, 1, 1, 0, 0u, -1);
        b->Ready();
        drawn = WaitFor(updated);
    }
    EXPECT_TRUE(drawn);
    {
        std::lock_guard<WatchedMutex> lock(TripleBuffer::ListCritical);
        EXPECT_NE(target.texture, nullptr);
    }

    Quitting.store(true);
    engine.JoinRenderThread();
    Quitting.store(false);
    EXPECT_EQ(engine.GetContext(), nullptr);
    TripleBuffer::Remove(position);
    target.Release();
    SDL_DestroyWindow(window);
}

TEST(RenderThread, FirstInitFailsCleanlyWithoutADevice) {
    GraphicsEngine engine;  // no window to make the context on
    EXPECT_FALSE(engine.FirstInit());
    EXPECT_FALSE(engine.IsReady());
    engine.JoinRenderThread();
}
