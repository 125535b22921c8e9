#pragma once
#include <array>
#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// One record of the section profiler.
struct Profile {
    std::int64_t ticks = 0;   // a section's time in the frame / a frame's length / a sum / a maximum
    std::uint64_t start = 0;  // counter at span start; span length after; a maximum's frame stamp
    std::uint8_t id = 0;      // number within the frame (1 = first section opened)
    std::uint8_t parent = 0;  // id of the enclosing section, 0 at top level
    std::string name;
    std::int32_t count = 0;  // open count while recording; nesting depth in query results

    bool operator<(const Profile& other) const { return id < other.id; }
};

struct ProfileHashMap_ {
    std::unordered_map<std::string, Profile> sections;
    std::list<std::string> open;  // innermost last
    std::int32_t stamp = 0;
};

// A static, per-thread section profiler. Each caller picks an integer thread
// id, marks its frames with Start/End (thread) and opens and closes named,
// nestable sections inside them. The last HISTORY_SIZE frames are kept.
// Constructing a Profiler opens a section; destroying it closes it.
class Profiler {
public:
    static constexpr int HISTORY_SIZE = 600;

    Profiler(const std::string& name, int thread);
    ~Profiler();
    Profiler(const Profiler&) = default;
    Profiler& operator=(const Profiler&) = default;

    static void Start(int thread, const char* name);
    static void End(int thread);
    static void Start(const std::string& name, int thread);
    static void End(const std::string& name, int thread);

    static void Pause();
    static void Reset();
    static void Init() {}

    static void GetThreads(std::vector<int>& out);
    static int GetCurrentHistory(int thread);
    static void GetHistory(int thread, int slot, std::vector<Profile>& out);
    static int GetHistoryStamp(int thread, int slot);
    static void GetThreadData(int thread, int slot, Profile& out);
    static void GetAverages(int thread, std::vector<Profile>& out);
    static void GetThreadAverage(int thread, Profile& out);
    static void GetMaxes(int thread, std::vector<Profile>& out);
    static void GetThreadMax(int thread, Profile& out);
    static int GetHistorySize() { return HISTORY_SIZE; }
    static double LargeIntToSeconds(const std::int64_t& ticks);

    // Injectable tick source (tests); null restores the performance counter.
    using TickSource = std::int64_t (*)();
    static TickSource SetTickSource(TickSource source);

    static std::recursive_mutex Critical;

    struct ThreadTables;  // one thread's tables (defined with the profiler)

private:
    static void SortByChildren(std::vector<Profile>& list);
    static void CloseSection(ThreadTables& t, const std::string& name, std::int64_t now);
    static ThreadTables* Find(int thread);
    static std::int64_t Now();

    std::string name;
    int thread;
};
