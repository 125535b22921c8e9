// The game thread's frames at 60 a second while the render thread draws the
// 200 by 27 play level with 16 boosted players at 1280x720, on its own
// thread, at its 60 turns a second: the frame interval (start to start, what
// a player sees) and the game's own work per frame, median, 99th percentile
// and worst; and the time the game thread spent waiting for any lock of the
// render turn (the draw lists, the window geometry, the window list, the
// draw-list hand-over), in all and the longest wait. Once alone, once beside
// 8 busy processes the benchmark starts itself and ends by their ids.
//
// The game thread sleeps out the rest of each frame and asks for prompt
// wake-ups and its larger share, as the program's game thread does; the
// figures say whether the system granted the share.
//
// Each game frame does what the game does with a window every frame (its
// update with the hit tests, the cursor, the geometry the pointer's
// conversion reads) and then moves, animates and queues the 16 players.
//
//   bench_game_frame_times [frames]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "HeadlessGL.h"
#include "Scenes.h"
#include "framework/Time.h"
#include "framework/WatchedMutex.h"
#include "platform/window/GuiManager.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/ThreadShare.h"
#include "platform/window/WindowClass.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kFrameMs = 1000.0 / 60.0;
constexpr double kTargetP99Ms = 17.5;
constexpr double kTargetWaitMs = 1.0;
constexpr int kBusy = 8;

// The machine's load over the last minute, which the figures depend on.
double LoadAverage() {
    double load = 0.0;
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1) load = 0.0;
        std::fclose(f);
    }
    return load;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

// Processes that only spin, stopped until wanted; ended by their ids.
class BusyProcesses {
public:
    explicit BusyProcesses(int count) {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                volatile unsigned long spin = 0;
                for (;;) spin = spin + 1;
            }
            if (pid > 0) {
                kill(pid, SIGSTOP);
                pids.push_back(pid);
            }
        }
    }
    ~BusyProcesses() {
        for (pid_t pid : pids) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    BusyProcesses(const BusyProcesses&) = delete;
    BusyProcesses& operator=(const BusyProcesses&) = delete;
    void Run(bool on) {
        for (pid_t pid : pids) kill(pid, on ? SIGCONT : SIGSTOP);
    }
    std::size_t Count() const { return pids.size(); }

private:
    std::vector<pid_t> pids;
};

struct Result {
    std::vector<double> interval, work;
    LockWaits gameWaits;
    std::vector<double> turns;  // render turns, ms
    bool largerShare = false;   // whether the system granted the game thread its larger share
};

// Frames at 60 a second on a game thread of its own while this thread
// renders at 60 turns a second.
Result Run(scenes::PlayScene& scene, GUI::GuiWindow& window, int frames, int first) {
    Result r;
    std::atomic<bool> done{false};
    std::thread game([&] {
        WatchedMutex::ResetThisThreadWaits();
        // As the program's game thread does as it starts (its limiter runs on
        // the scene's injected clock here, so the frames are paced on the
        // real one below).
        AskForPromptWakeUps();
        r.largerShare = AskForALargerShare();
        auto next = Clock::now();
        auto previous = next;
        int sink = 0;
        for (int f = 0; f < frames; ++f) {
            std::this_thread::sleep_until(next);
            const auto start = Clock::now();
            if (f > 0) r.interval.push_back(Ms(start - previous));
            previous = start;
            // The pointer wanders over the game area and the frame.
            const GUI::WindowInput input{40 + (f * 7) % 1200, 20 + (f * 5) % 700, false, false, false};
            window.UpdateWith(input);
            guiManager.UpdateCursor();
            const GUI::WindowGeometry g = window.Geometry();
            sink += g.areaWidth + window.GetX() + window.GetY() + window.GetWidth() + window.GetHeight() +
                    window.GetRenderHeight();
            scene.Queue(first + f);
            r.work.push_back(Ms(Clock::now() - start));
            next += std::chrono::microseconds(16667);
            // A frame that ran late starts the next at once, not a burst.
            if (next < Clock::now()) next = Clock::now();
        }
        r.gameWaits = WatchedMutex::ThisThreadWaits();
        done.store(sink != -1);
    });
    auto nextTurn = Clock::now();
    while (!done.load()) {
        const auto t0 = Clock::now();
        graphicsEngine.DrawAll();
        glFinish();
        r.turns.push_back(Ms(Clock::now() - t0));
        nextTurn += std::chrono::microseconds(16667);
        if (nextTurn < Clock::now()) nextTurn = Clock::now();
        std::this_thread::sleep_until(nextTurn);
    }
    game.join();
    return r;
}

void Print(const char* name, const Result& r) {
    const double p99 = Percentile(r.interval, 0.99);
    const double waitMs = static_cast<double>(r.gameWaits.totalNs) * 1e-6;
    const double longestWait = static_cast<double>(r.gameWaits.longestNs) * 1e-6;
    std::printf("%s (load average %.1f on %u processors after it; the game thread's larger share %s)\n", name,
                LoadAverage(), std::thread::hardware_concurrency(), r.largerShare ? "granted" : "refused");
    std::printf("  frame interval ms  median %6.2f  p99 %6.2f  worst %6.2f   target p99 <= %.1f  %s\n",
                Percentile(r.interval, 0.5), p99, Percentile(r.interval, 1.0), kTargetP99Ms,
                p99 <= kTargetP99Ms ? "met" : "MISSED");
    std::printf("  game work ms       median %6.2f  p99 %6.2f  worst %6.2f\n", Percentile(r.work, 0.5),
                Percentile(r.work, 0.99), Percentile(r.work, 1.0));
    std::printf("  render turn ms     median %6.2f  p99 %6.2f  worst %6.2f   (%zu turns)\n", Percentile(r.turns, 0.5),
                Percentile(r.turns, 0.99), Percentile(r.turns, 1.0), r.turns.size());
    std::printf("  game thread's lock waits: %llu, %.3f ms in all, longest %.3f ms   target longest <= %.1f  %s\n",
                static_cast<unsigned long long>(r.gameWaits.count), waitMs, longestWait, kTargetWaitMs,
                longestWait <= kTargetWaitMs ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    const int frames = argc > 1 ? std::max(120, std::atoi(argv[1])) : 900;
    // Forked before any thread exists; they spin only when let go.
    BusyProcesses busy(kBusy);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, scenes::kWidth, scenes::kHeight, true)) return 1;
    WindowClass::SetWindowThread();
    {
        std::atomic<bool> visible{true};
        auto* window = new GUI::GuiWindow(visible);
        window->SetupGuiWindow(scenes::kWidth + 20, scenes::kHeight + 40, 0, 0, true, false, "frame times");
        window->SetResolution(scenes::kAspect);
        guiManager.RegisterGuiWindow(window);
        scenes::PlayScene scene(false);
        for (int f = 0; f < 20; ++f) {  // warm: sheets up, lists sized
            scene.Queue(f);
            graphicsEngine.DrawAll();
        }
        glFinish();
        std::printf(
            "game thread at 60 frames a second, render thread drawing the play level with 16 boosted\n"
            "players at %dx%d at 60 turns a second; %d frames each\n",
            scenes::kWidth, scenes::kHeight, frames);
        const Result alone = Run(scene, *window, frames, 20);
        Print("alone", alone);
        busy.Run(true);
        const Result loaded = Run(scene, *window, frames, 20 + frames);
        busy.Run(false);
        const std::string beside = "beside " + std::to_string(busy.Count()) + " busy processes";
        Print(beside.c_str(), loaded);
        guiManager.UnregisterWindow(window);
    }
    gl.Close();
    return 0;
}
