#pragma once
// "PlayCounter": what a single-play run has gathered and how long it has
// taken, counted frame by frame, and shown small in the view's top-right
// corner (moon shards n/m, fireflies n/m, the time) while the player keeps
// the counter on. The clock runs while the level runs: it stands still under
// the pause menu and stops when the local player reaches a goal.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ObjectTemplate.h"
#include "framework/Progress.h"

namespace ObjectData::PlayCounter {

struct Variables {
    std::int32_t counter = 0;  // frames played
    // What the run has done so far (the type's own, not table variables).
    std::int32_t deaths = 0;
    std::int32_t shards = 0, shardsTotal = 0;
    std::int32_t fireflies = 0, firefliesTotal = 0;
    bool started = false;
    bool finished = false;
    std::int32_t lastDeathDelay = 0;
    // The level's pick-ups by name, and its goals (which stay as long as the level).
    std::vector<std::string> shardNames, fireflyNames;
    std::vector<Entity*> goals;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The counter's variables, or null when entity is none.
Variables* Find(Entity* entity);
// The run as the counter has counted it.
Progress::Run RunOf(const Variables& v);

// Where the counter stands: its panel's centre and size in view units, for
// a window of the given aspect (width over height).
struct Place {
    float x, y, width, height;
};
Place PanelPlace(float aspect);

void Behavior(Entity* self, Entity* other);
void Draw(Entity* self, Entity* other);

}  // namespace ObjectData::PlayCounter
