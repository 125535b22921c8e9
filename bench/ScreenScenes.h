#pragma once
// The menu screens as the game shows them: a registered level type opened by
// name in a state of its own, wired to a render target of any size the way
// the game wires its windows, run on the injected clock and read back.
// The screenshots and the screens' pixel tests are taken this way.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Scenes.h"
#include "framework/Profiler.h"
#include "framework/engines/BuiltInEngines.h"
#include "platform/graphics/CameraGlobals.h"

namespace scenes {

namespace detail {
inline int screenWidth = kWidth, screenHeight = kHeight;
}  // namespace detail

class ScreenScenes : public LevelStarts {
public:
    // Runs before each frame, with the state and the frame's number.
    using Step = std::function<void(State*, int)>;

    // Opens `level` in a width by height view, runs `frames` frames (calling
    // step before each) and reads the last one back. Answers an empty
    // string, or why no picture could be taken.
    std::string Shoot(const std::string& level, std::vector<std::uint8_t>& rgba, int frames = 60, int width = kWidth,
                      int height = kHeight, const Step& step = {}) {
        if (!Level::_IsRegistered(level)) return "no level type \"" + level + "\" is registered";
        Target view(width, height);
        detail::screenWidth = width;
        detail::screenHeight = height;
        State::hooks.renderHeight = [](const State*) { return detail::screenHeight; };
        const auto renderWidth = engineHooks.renderWidth;
        engineHooks.renderWidth = [] { return detail::screenWidth; };
        gameplayHooks.aspect = [] {
            return static_cast<float>(detail::screenWidth) / static_cast<float>(detail::screenHeight);
        };
        // Screens without a camera of their own look at the origin.
        CameraGlobals::x = CameraGlobals::y = 0.0f;
        CameraGlobals::r = 1.0f;

        auto* state = new State(level, true);
        State::_list.push_back(state);
        state->renderData = &*view.position;
        for (int f = 0; f < frames; ++f) {
            detail::now += kFrameMs;
            if (step) step(state, f);
            state->Update();
            State::RemoveDeletedObjects();
            State::RemoveDeletedEngines();
            if (f == frames - 1) graphicsEngine.DrawAll();
        }
        std::string why;
        if (state->GetLevelName() != level)
            why = "the screen did not stay open (now on \"" + state->GetLevelName() + "\")";
        else if (!view.Read(rgba))
            why = "the frame could not be read back";
        State::_list.remove(state);
        delete state;
        State::_currentState = nullptr;
        State::hooks.renderHeight = [](const State*) { return kHeight; };
        engineHooks.renderWidth = renderWidth;
        gameplayHooks.aspect = [] { return kAspect; };
        return why;
    }
};

namespace detail {
inline std::int64_t profileTicks = 0;
inline std::int64_t ProfileTicks() { return profileTicks; }
}  // namespace detail

// A profile as a game might record it: three threads, each with a few
// frames of nested sections of different lengths (1 ms is 10^6 ticks).
inline void RecordSampleProfile() {
    const auto old = Profiler::SetTickSource(&detail::ProfileTicks);
    struct Section {
        const char* name;
        int depth;
        std::int64_t ms10;  // tenths of a millisecond
    };
    const Section game[] = {{"Input", 0, 4},      {"Behavior", 0, 38},     {"Players", 1, 21},
                            {"Collision", 2, 12}, {"Bots", 1, 9},          {"GraphicsUpdate", 0, 17},
                            {"Grass", 1, 8},      {"GraphicsDraw", 0, 46}, {"Tiles", 1, 14},
                            {"Text", 1, 6},       {"Networking", 0, 3}};
    const Section render[] = {{"Wait", 0, 52}, {"Layers", 0, 31}, {"Sort", 1, 7}, {"Present", 0, 12}};
    const Section input[] = {{"Poll", 0, 2}, {"Pad", 1, 1}};
    auto record = [](int thread, const char* name, const Section* sections, std::size_t count, int frame) {
        Profiler::Start(thread, name);
        std::vector<std::string> open;
        for (std::size_t i = 0; i < count; ++i) {
            while (static_cast<int>(open.size()) > sections[i].depth) {
                Profiler::End(open.back(), thread);
                open.pop_back();
            }
            Profiler::Start(sections[i].name, thread);
            open.push_back(sections[i].name);
            detail::profileTicks += sections[i].ms10 * 100000 * (10 + frame % 3) / 10;
        }
        while (!open.empty()) {
            Profiler::End(open.back(), thread);
            open.pop_back();
        }
        detail::profileTicks += 2000000;
        Profiler::End(thread);
    };
    for (int frame = 0; frame < 5; ++frame) {
        detail::now += 16;
        record(1, "Game", game, std::size(game), frame);
        record(2, "Render", render, std::size(render), frame);
        record(3, "Input", input, std::size(input), frame);
    }
    Profiler::SetTickSource(old);
}

}  // namespace scenes
