#pragma once
// An object world whose drawing passes go through the real renderer with the
// baked sheets into a 640 by 360 target, read back as pixels.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "objects/Camera.h"
#include "objects/ObjectWorld.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/TripleBuffer.h"

namespace objtest {

class SheetRenderWorld : public ObjectWorld {
protected:
    static constexpr int kWidth = 640, kHeight = 360;
    static constexpr float kAspect = static_cast<float>(kWidth) / static_cast<float>(kHeight);

    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_LoadLibrary(nullptr);
        SetGLWindowAttributes();
        window = SDL_CreateWindow("test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        engine = new GraphicsEngine;
        engine->SetDeviceWindow(window);
        ASSERT_TRUE(engine->InitDX(64, 64));
        engine->LoadTextures();
    }
    static void TearDownTestSuite() {
        engine->FreeTextures();
        FreeSheetData();
        engine->ReleaseDevice();
        delete engine;
        engine = nullptr;
        SDL_DestroyWindow(window);
        window = nullptr;
    }

    void SetUp() override {
        ObjectWorld::SetUp();
        ResetGameplayHooks();  // the real drawing path
        gameplayHooks.aspect = [] { return kAspect; };
        gameplayHooks.clientId = [] { return 0; };
        gameplayHooks.send = [](const PlayerMessage&) {};
        target.width = kWidth;
        target.height = kHeight;
        target.Refresh();
        position = TripleBuffer::Add(&target, &aspect);
    }
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        TripleBuffer::Remove(position);
        target.Release();
        CameraGlobals::x = CameraGlobals::y = 0.0f;
        CameraGlobals::r = 1.0f;
        ObjectWorld::TearDown();
    }

    // Starts a frame: a cleared buffer taken as the current one, the camera placed.
    Buffer* BeginFrame(Object* camera) {
        Buffer* buffer = position->GetOldestBuffer();
        if (buffer == nullptr) return nullptr;
        buffer->Clear();
        graphicsEngine.SetCurrentBuffer(buffer);
        ObjectData::Camera::PreCameraUpdate(camera, camera);
        return buffer;
    }
    // Hands the frame to the renderer, draws it and reads the target's pixels back.
    void EndFrame(Buffer* buffer) {
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        engine->DrawAll();
        pixels.assign(static_cast<std::size_t>(target.width) * static_cast<std::size_t>(target.height) * 4, 0);
        ASSERT_TRUE(GraphicsEngine::ReadPixels(target, pixels.data()));
    }

    static inline SDL_Window* window = nullptr;
    static inline GraphicsEngine* engine = nullptr;
    RenderTarget target;
    float aspect = kAspect;
    TripleBuffer::Position position;
    std::vector<std::uint8_t> pixels;
    float cx = 0.0f, cy = 0.0f, scale = 10.0f;
};

}  // namespace objtest
