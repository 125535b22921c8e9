// The script converter on every registered type: a record made from each
// type (its bound variables with their defaults, its handlers as functions
// with small bodies), stored as a script and converted to a class header and
// a plug-in source (the script read, the texts built, both files written
// through the atomic writer). Prints the time per type and in all (target: all under 1 s).
//
//   bench_converter
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "RegisteredRecords.h"
#include "Scenes.h"
#include "converter/CppConvert.h"
#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Job {
    std::string kind;
    CppData record;
};

}  // namespace

int main() {
    Game::_FirstInit();
    Level::_FirstInit();
    Engine::_FirstInit();
    Object::_FirstInit();

    std::vector<Job> jobs;
    std::size_t skipped = 0;
    for (registered::Record& made : registered::EveryRegisteredType(&skipped))
        jobs.push_back({made.record.kind, std::move(made.record)});

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("gf-bench-converter-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);

    // The scripts are the conversions' input: written before the clock runs.
    for (const Job& job : jobs)
        cppConvert.WriteScript((folder / (job.record.typeName + ".script")).string(), job.record);

    std::size_t failed = 0;
    double slowest = 0.0;
    double cpuTotal = 0.0;
    std::string slowestName;
    const Clock::time_point start = Clock::now();
    for (const Job& job : jobs) {
        const std::string base = (folder / job.record.typeName).string();
        const Clock::time_point from = Clock::now();
        const std::clock_t cpuFrom = std::clock();
        const bool ok =
            cppConvert.ConvertKind(job.kind, base + ".script", base + ".h", base + ".cpp", job.record.typeName);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - from).count();
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuFrom) / CLOCKS_PER_SEC;
        cpuTotal += cpuMs;
        if (!ok) ++failed;
        if (ms > slowest) {
            slowest = ms;
            slowestName = job.record.typeName;
        }
        std::printf("%-10s %-28s %3zu variables %3zu functions %8.3f ms (cpu %7.3f ms)%s\n", job.kind.c_str(),
                    job.record.typeName.c_str(), job.record.varNames.size(), job.record.functions.size(), ms, cpuMs,
                    ok ? "" : "  (reported errors)");
    }
    const double total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("\n%zu types converted (%zu with reported errors, %zu names skipped as no identifier)\n", jobs.size(),
                failed, skipped);
    std::printf("per type: mean %.3f ms, slowest %.3f ms (%s)\n", jobs.empty() ? 0.0 : total / jobs.size(), slowest,
                slowestName.c_str());
    std::printf(
        "all: %.1f ms, of which cpu %.1f ms; the rest waits for the disk (each file flushed before its "
        "rename) (target under 1000 ms: %s)\n",
        total, cpuTotal, total < 1000.0 ? "met" : "NOT met");

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    Object::_DeleteAll();
    Game::_Shutdown();
    scenes::detail::ReleaseTypes();
    return 0;
}
