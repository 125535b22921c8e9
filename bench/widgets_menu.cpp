// A menu screen as the widgets make it: 40 captioned buttons and the pointer
// circling over them (so all 4096 shards of its trail are alive), driven by
// real mouse events through the input layer, drawn through the real
// renderer with the baked sheets at 1280x720. Prints the game-side step (the
// widgets' passes, queueing included) and the render time per frame.
#include <SDL2/SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "BenchTypes.h"
#include "HeadlessGL.h"
#include "PointerInput.h"
#include "framework/Engine.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr float kAspect = static_cast<float>(kWidth) / static_cast<float>(kHeight);

GameArea Area() { return GameArea{0, 0, kWidth, kHeight, kAspect, kHeight}; }

void BuildMenu(Entity*, const Entity*) {
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
}

}  // namespace

int main() {
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    RenderTarget target;
    target.width = kWidth;
    target.height = kHeight;
    target.Refresh();
    float aspect = kAspect;
    auto position = TripleBuffer::Add(&target, &aspect);

    State::hooks = StateHooks{};
    pointer::Start(&Area);

    bench::RegisterTypes();
    auto* level = new Level(sizeof(Level));
    level->_SetName("Menu");
    level->_type = "Menu";
    level->_copy = &BuildMenu;
    level->_free = &Entity::_CallUnload;
    Level::_IncludeLevel("Menu", level);
    State* state = new State("Menu", true);
    State::_list.push_back(state);

    Object::MakeCopy(state, "Cursor", "Cursor");
    for (int i = 0; i < 40; ++i) {
        Object* b = Object::MakeCopy(state, "TextButton", "");
        auto& v = VariablesOf<ObjectData::TextButton::Variables>(b);
        v.position = {-0.7f + 0.35f * static_cast<float>(i % 5), 0.42f - 0.11f * static_cast<float>(i / 5), 0.0f};
        v.size = {0.3f, 0.09f};
        v.texture = "buttonNormal";
        ObjectData::Text::Find(v.textObj)->text = "#0xFFE8E4FF#Button " + std::to_string(i + 1);
    }

    const int warmup = 60, frames = 240;
    double gameMs = 0.0, renderMs = 0.0;
    std::uint64_t quads = 0;
    pointer::Circle circle(kWidth, kHeight);
    for (int f = 0; f < warmup + frames; ++f) {
        // The pointer circles the screen: it moves every frame.
        circle.Step(f);

        const auto g0 = std::chrono::steady_clock::now();
        inputEngine.InternalUpdate();
        inputEngine.GameUpdate();
        Buffer* buffer = position->GetOldestBuffer();
        buffer->Clear();
        graphicsEngine.SetCurrentBuffer(buffer);
        state->Update();
        State::EndOfFrame();
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        std::uint64_t n = buffer->frames.size() + buffer->backgrounds.size();
        for (const auto& list : buffer->tiles) n += list.size();
        for (const auto& list : buffer->layers) n += list.size();
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        const auto g1 = std::chrono::steady_clock::now();

        graphicsEngine.DrawAll();
        glFinish();
        const auto r1 = std::chrono::steady_clock::now();
        if (f >= warmup) {
            gameMs += std::chrono::duration<double, std::milli>(g1 - g0).count();
            renderMs += std::chrono::duration<double, std::milli>(r1 - g1).count();
            quads += n;
        }
    }
    std::printf("menu: 40 captioned buttons, the pointer moving (4096 shards), %dx%d\n", kWidth, kHeight);
    std::printf("quads/frame  game ms/frame  render ms/frame  frame ms (target < 16)\n");
    std::printf("%11.0f  %13.2f  %15.2f  %8.2f\n", static_cast<double>(quads) / frames, gameMs / frames,
                renderMs / frames, (gameMs + renderMs) / frames);

    for (State* s : State::_list) delete s;
    State::_list.clear();
    TripleBuffer::Remove(position);
    target.Release();
    gl.Close();
    return 0;
}
