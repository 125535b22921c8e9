#pragma once
// The program's command line. One option names the screen (a registered
// level type) the first state starts on, so that screens no menu leads to
// can be reached:
//
//   glimmerfall --start-screen StencilEditor
//   glimmerfall --start-screen=InstanceEditor
//
// Without it the program starts on the licence screen ("Eula"). The
// options of test runs are program/TestRun.h's.
#include <string>

#include "program/TestRun.h"

// The text --help prints.
const char* CommandLineUsage();

// What the command line asked for.
struct CommandLine {
    std::string startScreen;  // empty: the licence screen
    bool help = false;
    TestRunOptions testRun;  // the options of test runs (program/TestRun.h)
};

// Reads the arguments after the program's name; false with a message in error
// for an unknown option or a missing name.
bool ReadCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);

// The screen the first state starts on, as the game thread will open it. A
// name that no level type answers to starts the licence screen instead (the
// game thread reports it on the error stream).
void SetStartScreen(const std::string& level);
const std::string& StartScreen();
