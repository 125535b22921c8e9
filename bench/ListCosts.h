#pragma once
// What each draw list of a recorded scene costs: the same frames timed with
// one list left out at a time, beside the whole frame. The difference is what
// drawing that list costs (its fill, its vertices and its hand-over).
#include <cstdio>
#include <string>
#include <vector>

#include "FrameTiming.h"
#include "Scenes.h"

namespace listcosts {

inline void Print(const scenes::Recording& recording, TripleBuffer& view, int frames, int rounds, int warm) {
    struct Cut {
        std::string name;
        std::size_t quads = 0;
        void (*clear)(Buffer&, unsigned) = nullptr;
        unsigned index = 0;
    };
    std::vector<Cut> cuts = {{"whole frame", 0, nullptr, 0}};
    const Buffer& first = recording.Frame(0);
    for (unsigned j = 0; j < Buffer::layer_count; ++j)
        if (!first.layers[j].empty())
            cuts.push_back({"layer " + std::to_string(j) + " (" + first.layerTechnique[j] + ")", first.layers[j].size(),
                            [](Buffer& b, unsigned i) { b.layers[i].clear(); }, j});
    if (!first.backgrounds.empty())
        cuts.push_back(
            {"backgrounds", first.backgrounds.size(), [](Buffer& b, unsigned) { b.backgrounds.clear(); }, 0});
    for (unsigned i = 0; i < Buffer::tile_count; ++i)
        if (!first.tiles[i].empty())
            cuts.push_back({"tiles " + std::to_string(i) + " (" + first.tileTechnique[i] + ")", first.tiles[i].size(),
                            [](Buffer& b, unsigned k) { b.tiles[k].clear(); }, i});
    if (!first.frames.empty())
        cuts.push_back({"frames", first.frames.size(), [](Buffer& b, unsigned) { b.frames.clear(); }, 0});
    // One recording a cut, each with its list left out.
    std::vector<scenes::Recording> cutRecordings(cuts.size(), recording);
    for (std::size_t c = 1; c < cuts.size(); ++c)
        cutRecordings[c].ForEach([&](Buffer& b) { cuts[c].clear(b, cuts[c].index); });
    std::size_t current = 0;
    const std::vector<timing::Figures> figures = timing::MeasureRows(
        cuts.size(), [&](std::size_t row) { current = row; },
        [&](int k) { cutRecordings[current].Replay(static_cast<std::size_t>(k), view); }, warm, rounds, frames);
    std::printf("what each list costs: the frame without it, %d frames x %d rounds (rows in turn), median\n", frames,
                rounds);
    std::printf("%-40s quads  render ms  saved ms  thread ms  processor ms  saved ms\n", "");
    for (std::size_t c = 0; c < cuts.size(); ++c)
        std::printf("%-40s %5zu  %9.2f  %8.2f  %9.2f  %12.2f  %8.2f\n", cuts[c].name.c_str(), cuts[c].quads,
                    figures[c].wallMs, figures[0].wallMs - figures[c].wallMs, figures[c].threadMs, figures[c].processMs,
                    figures[0].processMs - figures[c].processMs);
}

}  // namespace listcosts
