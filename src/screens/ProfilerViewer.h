#pragma once
// "Profiler": a 500 by 500 window of the section profiler's measurements for
// one profiled thread: the sections of three neighbouring frames of its
// history, or the averages, or the maxima. The level fetches the records
// each frame; the "ProfilerDraw" engine draws them. No screen leads here: a
// state switched to the name opens it.
#include <cstdint>
#include <mutex>
#include <string>
#include <type_traits>

#include "framework/LevelTemplate.h"
#include "framework/engines/ProfilerView.h"

// The type texts the script converter reads for the viewer's records.
inline std::string VariableTypeText(std::type_identity<ProfileLists>) { return "std::vector<Profile>[3]"; }
inline std::string VariableTypeText(std::type_identity<ProfileRecords>) { return "Profile[3]"; }

namespace LevelData::Profiler {

struct Variables {
    // The shown frame's slot in the history; negative: follow the newest
    // (holding the complement of the newest slot).
    std::int32_t history = -1;
    std::int32_t profPosition = 0;
    // The shown thread's place in the profiler's thread list (any value;
    // the refresh wraps it).
    std::int32_t thread = 0;
    // The shown frame's time stamp; -1 in the statistics modes and until
    // the first refresh with a profiled thread.
    std::int32_t stamp = -1;
    std::int32_t statistics = PROFILER_HISTORY;         // asked for
    std::int32_t currentStatistics = PROFILER_HISTORY;  // of the records held
    ProfileLists profiles;
    ProfileRecords threadProfile;
    // Guards the fetched records against the draw engine.
    std::recursive_mutex Critical;

    Variables() = default;
    Variables(const Variables& other)
        : history(other.history),
          profPosition(other.profPosition),
          thread(other.thread),
          stamp(other.stamp),
          statistics(other.statistics),
          currentStatistics(other.currentStatistics),
          profiles(other.profiles),
          threadProfile(other.threadProfile) {}
    Variables& operator=(const Variables&) = delete;
};

using _DATA = LevelTemplate::Data<Variables>;

// The viewer's change handlers, on the level of the calling entity's state.
void IncThread(Entity* self, Entity* other);
void DecThread(Entity* self, Entity* other);
void IncHistory(Entity* self, Entity* other);
void DecHistory(Entity* self, Entity* other);
void ToggleStatistics(Entity* self, Entity* other);

// The refresh: fetches the chosen thread's records under the level's lock.
void Update(Entity* self, Entity* other);

Level* _Init();

}  // namespace LevelData::Profiler
