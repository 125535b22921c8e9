// The stencil editor's build button, timed: a committed stencil (an object
// type with a variable and an engine function) converted, built with the
// system compiler beside the frames and put into service, from the moment
// the button's step starts the build to the moment the type is replaced,
// the frames polling it every millisecond. Prints each round, then the
// median of the rounds beside the converter's own part and the target.
//
//   bench_stencil_build [rounds]     (default 5)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <stdlib.h>

#include "converter/CppData.h"
#include "converter/DLL.h"
#include "framework/Globals.h"
#include "framework/Object.h"
#include "stencil/StencilBuild.h"
#include "stencil/StencilStore.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTargetSeconds = 2.0;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

CppData Lantern(int round) {
    CppData record;
    record.kind = "OBJECT";
    record.typeName = "BenchLantern";
    record.varNames = {"glow", "flicker"};
    record.varTypes = {"int", "float"};
    record.varValues = {std::to_string(round), "0.5"};
    record.functions.push_back({"void",
                                "Behavior",
                                {},
                                "ENGINE",
                                "\n\tself->glow = self->glow + 1;\n\tself->flicker = self->flicker * 0.5;\n",
                                0});
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string pattern = (std::filesystem::temp_directory_path() / "gf-bench-stencil-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    const std::string folder = pattern;
    std::filesystem::create_directories(folder + "/data");
    if (!CopyPath(Globals.workingDirectory, folder) || !CopyPath(Globals.userDataFolder, folder + "/data")) return 1;
    std::printf("compiler: %s\n", DLL::BuildSettings().compiler.c_str());

    std::vector<double> all, convert;
    for (int round = 0; round < rounds; ++round) {
        const CppData record = Lantern(round);
        if (!StencilStore::CommitAll(record, record).saved) {
            std::printf("the stencil could not be saved\n");
            return 1;
        }
        const auto start = Clock::now();
        StencilBuild::Start(record.kind, record.typeName);
        while (StencilBuild::Busy()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            StencilBuild::Step();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const StencilBuild::Status& status = StencilBuild::Current();
        if (status.phase != StencilBuild::Phase::Replaced) {
            std::printf("the build failed:\n%s\n", status.report.c_str());
            return 1;
        }
        all.push_back(seconds);
        convert.push_back(status.convertSeconds);
        std::printf("round %d: button to replaced type %.2f s (converter %.3f s)\n", round, seconds,
                    status.convertSeconds);
    }
    const double median = Median(all);
    std::printf("median of %d: button to replaced type %.2f s (target < %.1f s: %s), converter %.3f s\n", rounds,
                median, kTargetSeconds, median < kTargetSeconds ? "met" : "not met", Median(convert));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
