#pragma once
// "ResultCard": what a single-play run of a level achieved, shown over the
// level's last picture once the player has reached the goal: the time, the
// moon shards and fireflies gathered of those the level holds, the deaths,
// and "new best" beside every record the run broke. Three buttons follow:
// "Next Level" ("Results" after the last level), "Retry" and "Main Menu".
// A select (Enter, Space, the pad's A) goes on to the next level, or picks
// the button a direction has focused; a click picks a button. Left alone for
// six seconds (no direction, no pointer moved) the card takes play on to the
// next level as the goal always did.
//
// Controls held from the run (a jump, a run to the right) choose nothing:
// the card waits for the player to let go of everything first.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Progress.h"

class State;

namespace ObjectData::ResultCard {

// Frames the card waits, untouched, before play goes on by itself.
constexpr std::int32_t kWaitFrames = 360;

enum class Choice { None, Next, Retry, MainMenu };

struct Variables {
    std::int32_t counter = 0;  // frames shown
    // The run and what it broke (the type's own, not table variables).
    Progress::Run run;
    Progress::NewBests bests;
    Progress::LevelRecord before;  // the level's records before the run
    std::int32_t level = 0;        // built-in level index
    Entity* goal = nullptr;        // the goal that ended the level
    bool armed = false;            // every control has been let go since the card came up
    bool touched = false;          // the player moved the focus or the pointer
    bool selectBefore = true;      // select was down on the frame before
    Choice chosen = Choice::None;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

Variables* Find(Entity* entity);

// Puts the card up in state for the run of built-in level index that goal
// ended: it keeps the run in the progress (which saves) and makes the card,
// its buttons and a pointer (nothing focused). False when the card's type is not registered
// (play then goes on at once).
bool Show(State* state, Entity* goal, int index, const Progress::Run& run);

// What the player chose (the buttons' handlers, and the wait's end, call it).
void Choose(Entity* card, Choice choice);

void Behavior(Entity* self, Entity* other);
void Draw(Entity* self, Entity* other);

}  // namespace ObjectData::ResultCard
