#include "program/CommandLine.h"

#include <cstring>

namespace {

constexpr char kOption[] = "--start-screen";

std::string& StartScreenName() {
    static std::string name;
    return name;
}

}  // namespace

const char* CommandLineUsage() {
    // The manual page's synopsis and options are made from this text at build
    // time: a usage line, then each option indented by two with its
    // description after two blanks or more, continued on lines indented further.
    static const std::string usage =
        std::string(
            "usage: glimmerfall [--start-screen LEVEL] [--help]\n"
            "  --start-screen LEVEL   start on the screen LEVEL (for example StencilEditor,\n"
            "                         InstanceEditor or LevelEditor) instead of the licence\n"
            "  -h, --help             print these options and end\n") +
        TestRunUsage();
    return usage.c_str();
}

bool ReadCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error) {
    const std::size_t length = sizeof kOption - 1;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            line.help = true;
        } else if (std::strcmp(argument, kOption) == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = std::string(kOption) + " needs the name of a screen";
                return false;
            }
            line.startScreen = argv[++i];
        } else if (std::strncmp(argument, kOption, length) == 0 && argument[length] == '=') {
            line.startScreen = argument + length + 1;
            if (line.startScreen.empty()) {
                error = std::string(kOption) + " needs the name of a screen";
                return false;
            }
        } else if (ReadTestRunOption(argc, argv, i, line.testRun, error)) {
            if (!error.empty()) return false;
        } else {
            error = std::string("unknown argument \"") + argument + "\"";
            return false;
        }
    }
    return true;
}

void SetStartScreen(const std::string& level) { StartScreenName() = level; }

const std::string& StartScreen() { return StartScreenName(); }
