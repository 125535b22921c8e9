// A stencil script put into service: the script "Probe" converted to a class
// header and a plug-in source, built with the system compiler and loaded by
// the object-type replacement, in a fresh working folder. Prints the time of
// each step per round and the median of all rounds.
//
//   bench_plugin_build [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "converter/CppConvert.h"
#include "converter/DLL.h"
#include "framework/Globals.h"
#include "framework/Object.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kScript =
    "// A probe.\n#Variables\n{\n\tint life = 5;\n\tint probeBonus = 7;\n\tstd::string probeTitle = \"probe\";\n}\n\n"
    "// Function bound to event\nOnHit\n{\n\tself->life = self->probeBonus * 6;\n}\n";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string pattern = (std::filesystem::temp_directory_path() / "gf-bench-plugin-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    const std::string folder = pattern;
    if (!CopyPath(Globals.workingDirectory, folder)) return 1;
    {
        std::ofstream out(folder + "/Probe.script", std::ios::binary);
        out << kScript;
    }
    std::printf("compiler: %s\n", DLL::BuildSettings().compiler.c_str());
    std::vector<double> convert, build, total;
    for (int round = 0; round < rounds; ++round) {
        const std::string type = "Probe" + std::to_string(round);
        const std::string source = folder + "/" + type + ".cpp";
        const auto start = Clock::now();
        if (!cppConvert.ConvertObject(folder + "/Probe.script", folder + "/OBJECT " + type + ".h", source, type)) {
            std::printf("conversion failed\n");
            return 1;
        }
        const auto converted = Clock::now();
        if (!Entity::_ReplaceObject(source.c_str(), type.c_str(), "")) {
            std::printf("build failed:\n%s\n", DLL::LastReport().c_str());
            return 1;
        }
        const auto loaded = Clock::now();
        convert.push_back(Ms(converted - start));
        build.push_back(Ms(loaded - converted));
        total.push_back(Ms(loaded - start));
        std::printf("round %d: convert %.2f ms, build and load %.1f ms, all %.1f ms\n", round, convert.back(),
                    build.back(), total.back());
    }
    std::printf("median of %d: convert %.2f ms, build and load %.1f ms, all %.1f ms\n", rounds, Median(convert),
                Median(build), Median(total));
    for (auto& [name, prototype] : Object::_objects) Entity::_Destroy(prototype);
    Object::_objects.clear();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
