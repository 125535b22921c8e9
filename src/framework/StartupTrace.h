#pragma once
// Start-up milestones for measuring how soon a player sees something: with
// GF_TRACE_STARTUP set in the environment, each milestone is written once to
// stderr as "startup: <what>" the moment it is reached (the measuring program
// timestamps the lines). Without it, nothing is written.
void TraceStartup(const char* what);
