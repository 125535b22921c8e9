#pragma once
// Options for test runs of the program (the LAN tests start real programs
// with them; a player never needs them):
//
//   --script FILE        input from a script file that another program
//                        appends steps to while this one runs
//                        (program/ScriptedInput.h gives the steps)
//   --trace FILE         a report of the run, one line an event (below)
//   --net-log FILE       the network engine's own debug lines
//   --window-height N    windows at most N pixels high
//   --draw-rate N        windows drawn N times a second
//
// The trace: each line starts with the milliseconds of the monotonic clock
// (shared by the machine's processes) and a word saying what it reports:
//   level A B…           the levels the states show (on a change)
//   net ROLE id=N clients=N   alone, searching, hosting, connecting or client
//   games LINE|LINE…     the lines of the lobby's list of games
//   texts LEVEL T|T…     the texts the newest state shows (on a change)
//   message LEVEL TEXT   the network message line's text (on a change)
//   players LEVEL NAME=X,Y,SCORE…   the players of the match level (4 a second)
//   exec MESSAGE from N  a received network message as it is carried out
//   step LINE COMMAND    a script step as it is carried out
//   syncs NAME(ARRIVED,LEFT)…   the engine's sync points (on a change)
#include <string>

struct TestRunOptions {
    std::string script, trace, netLog;
    int windowHeight = 0;
    int drawRate = 0;
    bool Any() const {
        return !script.empty() || !trace.empty() || !netLog.empty() || windowHeight > 0 || drawRate > 0;
    }
};

// Reads one test-run option at argv[i] (moving i past its value); false when
// argv[i] is none of them. A missing or bad value is an error.
bool ReadTestRunOption(int argc, const char* const* argv, int& i, TestRunOptions& options, std::string& error);

// The usage lines of the test-run options.
const char* TestRunUsage();

// Puts the options into effect before the program starts; false with a
// message when a file cannot be opened.
bool StartTestRun(const TestRunOptions& options, std::string& error);
// After the program has ended: the script's failure (empty when none), and
// the files closed.
std::string EndTestRun();
