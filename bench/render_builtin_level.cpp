// A single-player built-in level as a player sees it at its start (the first
// one, with one player, its sky, hills, grass and fireflies), drawn again and
// again at 1280x720: the render time per frame next to its target and the
// render thread's own share of it.
//
// With "lists", it prints instead what each draw list of the frame costs:
// the frame timed with that one list left out, beside the whole frame.
//
// With "row N" it times row N alone (for a profiler).
//
//   bench_render_builtin_level [level index] [lists] [row N]
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "FrameTiming.h"
#include "HeadlessGL.h"
#include "ListCosts.h"
#include "Scenes.h"

int main(int argc, char** argv) {
    using namespace scenes;
    int index = 0, only = -1;
    bool lists = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "lists")
            lists = true;
        else if (arg == "row" && i + 1 < argc)
            only = std::atoi(argv[++i]);
        else
            index = std::atoi(argv[i]);
    }
    if (index < 0 || index >= static_cast<int>(BuiltInLevelNames.size())) {
        std::fprintf(stderr, "no built-in level %d\n", index);
        return 1;
    }
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    int status = 0;
    {
        LevelStarts levels;
        std::vector<std::uint8_t> rgba;
        const std::string why = levels.Shoot(index, rgba);
        if (!why.empty()) {
            std::fprintf(stderr, "%s\n", why.c_str());
            status = 1;
        } else if (lists) {
            // The level's last frame, handed over again and again with one
            // list left out at a time.
            Recording recording;
            if (const Buffer* frame = levels.NewestFrame()) recording.Add(*frame);
            if (recording.Size() == 0) {
                std::fprintf(stderr, "no frame was handed over\n");
                status = 1;
            } else {
                std::printf("built-in level %s at its start, one player, %dx%d\n",
                            BuiltInLevelNames[static_cast<std::size_t>(index)], kWidth, kHeight);
                listcosts::Print(recording, levels.View(), 40, 5, 4);
            }
        } else {
            // The level's last frame stays the newest: each turn draws it
            // again, under each row in turn; each saving turned over alone
            // shows what it saves.
            struct Row {
                const char* name;
                void (*off)(GraphicsEngine::Savings&);
            };
            const Row rows[] = {
                {"as drawn", [](GraphicsEngine::Savings&) {}},
                {"without half-size light", [](GraphicsEngine::Savings& s) { s.halfSizeLight = false; }},
                {"with strips in one pass", [](GraphicsEngine::Savings& s) { s.stackStrips = true; }},
                {"without skipping covered", [](GraphicsEngine::Savings& s) { s.skipCovered = false; }},
                {"without skipping clear parts", [](GraphicsEngine::Savings& s) { s.skipClear = false; }},
                {"without either", [](GraphicsEngine::Savings& s) { s.skipCovered = s.skipClear = false; }},
            };
            constexpr std::size_t kRows = std::size(rows);
            const bool one = only >= 0 && only < static_cast<int>(kRows);
            auto shown = [&](std::size_t row) { return one ? static_cast<std::size_t>(only) : row; };
            const std::vector<timing::Figures> figures = timing::MeasureRows(
                one ? 1 : kRows,
                [&](std::size_t row) {
                    graphicsEngine.savings = {};
                    rows[shown(row)].off(graphicsEngine.savings);
                },
                [](int) {}, 4, 7, 40);
            graphicsEngine.savings = {};
            std::printf("built-in level %s at its start, one player, %dx%d\n",
                        BuiltInLevelNames[static_cast<std::size_t>(index)], kWidth, kHeight);
            std::printf("median of 7 rounds of 40 frames, rows in turn (best-worst round)\n");
            std::printf(
                "%-28s quads/frame  draws/frame  render ms/frame         target  render thread ms  processor ms\n", "");
            for (std::size_t row = 0; row < figures.size(); ++row) {
                const timing::Figures& fig = figures[row];
                std::printf("%-28s %11zu  %11.1f  %6.2f (%5.2f-%5.2f)  %-7s  %16.2f  %12.2f\n", rows[shown(row)].name,
                            levels.LastQuads(), fig.draws, fig.wallMs, fig.wallMinMs, fig.wallMaxMs,
                            shown(row) == 0 ? "< 8 ms" : "", fig.threadMs, fig.processMs);
            }
        }
    }
    gl.Close();
    return status;
}
