#pragma once
// A larger share of the processors for the thread whose frames a player
// sees keep their pace: on a busy machine (the software rasteriser's workers
// alone fill every processor) a thread of the ordinary share is taken off
// its processor for a whole turn of another's in the middle of its frame.

// Asks the system to run the calling thread ahead of threads of the ordinary
// share when they compete for a processor: a nice value 10 below the one it
// has (the one the program was started with), set directly
// where the user may, otherwise granted by the desktop's real-time service
// where one runs. Call it after AskForPromptWakeUps, so that what the thread
// starts later (threads, programs) keeps the ordinary share. Where neither
// grants it, nothing changes. True when granted.
bool AskForALargerShare();

// The calling thread's nice value (0 is the ordinary share; lower is larger).
int ThisThreadsNice();
