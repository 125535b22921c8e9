// The script converter on every registered type: a record made from each
// type (its recorded variables, its events and engines as empty functions),
// stored as a script and converted to a class header and a plug-in source
// (the script read, the texts built, both files written through the atomic
// writer). Prints the time per type and in all (target: all under 1 s).
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

#include "Scenes.h"
#include "converter/CppConvert.h"
#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"

namespace {

using Clock = std::chrono::steady_clock;

// The event table of any entity (the member is protected; its pointer is
// taken through a derived class).
struct EventTable : Entity {
    static constexpr auto table = &EventTable::_events;
};

bool IsIdentifier(const std::string& text) { return CppConvert::IsTypeName(text); }

struct Job {
    std::string kind;
    CppData record;
};

CppData RecordOf(const std::string& typeName, const Entity* prototype, const std::string& kind) {
    CppData record;
    record.kind = kind;
    record.typeName = typeName;
    for (const std::string& name : cppConvert.GetVarList(typeName)) {
        std::string type = cppConvert.GetVarType(name);
        if (type.empty()) continue;
        // An array's type text names no count; the record's needs one.
        if (type.size() > 2 && type.compare(type.size() - 2, 2, "[]") == 0) type.insert(type.size() - 1, "4");
        record.varNames.push_back(name);
        record.varTypes.push_back(type);
        record.varValues.emplace_back();
    }
    if (prototype != nullptr) {
        for (const auto& [event, handler] : prototype->*EventTable::table) {
            if (!IsIdentifier(event)) continue;
            CppFunctions function;
            function.name = event;
            function.functionType = Engine::_engines.count(event) != 0 ? "ENGINE" : "EVENT";
            function.code = "\n";
            record.functions.push_back(function);
        }
    }
    return record;
}

}  // namespace

int main() {
    bench::RegisterTypes();

    std::vector<Job> jobs;
    std::size_t skipped = 0;
    auto add = [&](const std::string& name, const Entity* prototype, const std::string& kind) {
        if (!IsIdentifier(name)) {
            ++skipped;
            return;
        }
        jobs.push_back({kind, RecordOf(name, prototype, kind)});
    };
    for (const auto& [name, prototype] : Object::_objects) add(name, prototype, "Object");
    for (const auto& [name, prototype] : Level::_levels) add(name, prototype, "Level");
    for (const auto& [name, prototype] : Engine::_engines) add(name, prototype, "Engine");
    for (const auto& [name, exObject] : Object::_exobjects) {
        if (!IsIdentifier(name)) {
            ++skipped;
            continue;
        }
        Job job{"ExObject", RecordOf(name, nullptr, "ExObject")};
        job.record.baseType = exObject->BaseName();
        job.record.differencesText = "\n";
        jobs.push_back(std::move(job));
    }
    if (const Game* game = GetMyGame()) add(game->GetType().empty() ? "TheGame" : game->GetType(), game, "Game");

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
