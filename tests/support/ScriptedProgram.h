#pragma once
// Test helper: the real program driven by a script of key and mouse events
// (program/ScriptedInput.h gives the script's commands and how they run).
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Globals.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/WiiRemote.h"
#include "platform/window/GuiWindow.h"
#include "program/ScriptedInput.h"
#include "program/Startup.h"
#include "support/EntityWorld.h"
#include "support/TempFolder.h"
#include "support/ThreadSanitized.h"
#include "support/ThreadedFakeClock.h"
#include "support/ThreadsEndWait.h"

namespace scripted {

using ScriptedInput::KeyCode;
using ScriptedInput::Parse;
using ScriptedInput::Runner;
using ScriptedInput::Step;

// A recorded run of a level ("<frames> <controls>" a line, the controls a
// word of L, R and J or "-" for none) as script steps holding Left, Right and
// Space: its first `stretches` stretches, every key let go at the end.
inline std::string RecordedRun(const std::filesystem::path& path, int stretches) {
    std::ifstream in(path);
    std::string steps, held;
    int frames = 0;
    std::string controls;
    const std::pair<char, const char*> keys[] = {{'L', "Left"}, {'R', "Right"}, {'J', "Space"}};
    for (int i = 0; i < stretches && (in >> frames >> controls); ++i) {
        const std::string want = controls == "-" ? "" : controls;
        for (const auto& [letter, key] : keys) {
            const bool was = held.find(letter) != std::string::npos;
            const bool now = want.find(letter) != std::string::npos;
            if (now && !was) steps += std::string("press ") + key + "\n";
            if (!now && was) steps += std::string("release ") + key + "\n";
        }
        held = want;
        steps += "wait " + std::to_string(frames) + "\n";
    }
    for (const auto& [letter, key] : keys)
        if (held.find(letter) != std::string::npos) steps += std::string("release ") + key + "\n";
    return steps;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fixture for runs of the whole program: its own home, configuration and
// temporary folders, sound on the null output, the injected threaded clock,
// the real start-up (windows, renderer, input, game thread); afterwards
// everything the run left is taken apart, so the next run starts from nothing.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        // What the environment held before the first run (a test may run
        // the program several times, taking everything apart in between).
        if (env.empty()) {
            for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
                const char* value = std::getenv(name);
                env.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            }
        }
        std::filesystem::create_directories(home / "Documents");
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        setenv("TMPDIR", home.Path().c_str(), 1);
        setenv("ALSOFT_DRIVERS", "null", 0);
        Quitting.store(false);
        startupHooks = PlatformStartupHooks();
        startupHooks.hideAllWindows = &HideWindowsThenLetThreadsEnd;
        startupHooks.exitProcess = [](int) { ++stuckExits; };
        stuckExits = 0;
        Game::hooks = Game::DefaultHooks();
        State::hooks = State::DefaultHooks();
        // Under ThreadSanitizer a drawing on software GL takes a large share
        // of a frame's time: the program draws seldom there, the game's
        // frames and every thread's steps still run as ever.
        if (sanitized::kThreads) GraphicsEngine::SetDrawRate(kThreadSanitizedDrawRate);
    }

    static constexpr int kThreadSanitizedDrawRate = 10;  // drawings a second

    void TearDown() override {
        world::TakeApart();
        GraphicsEngine::SetDrawRate(0);
        Game::hooks = Game::DefaultHooks();
        State::hooks = State::DefaultHooks();
        startupHooks = PlatformStartupHooks();
        // The GL driver stays loaded (what it keeps stays reachable at exit).
        ResetInputHooks();
        WiiRemote_::SetSwitches({});
        Quitting.store(false);
        GameQuit = nullptr;
        Globals.workingDirectory[0] = Globals.temporaryFolder[0] = Globals.userDataFolder[0] = '\0';
        for (auto& [name, value] : env) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    // Runs the program under the script (a file's text) to its end; the
    // program's status. Marks are given as name → callback.
    int Run(const std::string& script, const std::map<std::string, Runner::Callback>& callbacks = {},
            const std::map<std::string, std::function<bool()>>& conditions = {},
            std::function<void(int frame)> eachFrame = nullptr) {
        std::string error;
        auto steps = Parse(script, error);
        EXPECT_TRUE(steps.has_value()) << error;
        if (!steps) return -1;
        runner.emplace(std::move(*steps));
        for (const auto& [name, callback] : callbacks) runner->On(name, callback);
        for (const auto& [name, condition] : conditions) runner->When(name, condition);
        runner->EachFrame(std::move(eachFrame));
        runner->Install();
        return ProgramMain();
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> env;
    TempFolder home;
    ThreadedFakeClock clock;
    std::optional<Runner> runner;
    static inline std::atomic<int> stuckExits{0};
};

}  // namespace scripted
