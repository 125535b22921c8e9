#include "framework/Profiler.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "framework/Quit.h"
#include "framework/Time.h"

// Each thread's tables live together; the public queries keep the shape of
// separate per-table maps keyed by thread id.
struct Profiler::ThreadTables {
    Profile frame;             // the current frame record
    ProfileHashMap_ current;   // the frame under way
    ProfileHashMap_ averages;  // per section: sum over all frames
    ProfileHashMap_ maxes;     // per section: largest per-frame total
    std::array<ProfileHashMap_, HISTORY_SIZE> history;
    std::array<Profile, HISTORY_SIZE> threadHistory;
    bool historyFilled[HISTORY_SIZE] = {};
    Profile threadAverage;
    Profile threadMax;
    int historyEnd = 0;  // frames ended
};

std::recursive_mutex Profiler::Critical;

namespace {
// Thread ids in the order they first started a frame (the thread list).
std::vector<int> threadOrder;
std::atomic<bool> paused{false};
std::atomic<Profiler::TickSource> tickSource{nullptr};
}  // namespace

static std::map<int, std::unique_ptr<Profiler::ThreadTables>>& Tables() {
    static std::map<int, std::unique_ptr<Profiler::ThreadTables>> tables;
    return tables;
}

Profiler::TickSource Profiler::SetTickSource(TickSource source) { return tickSource.exchange(source); }

std::int64_t Profiler::Now() {
    TickSource src = tickSource.load();
    return src ? src() : PerformanceCounter();
}

double Profiler::LargeIntToSeconds(const std::int64_t& ticks) {
    return static_cast<double>(ticks) / static_cast<double>(PerformanceFrequency);
}

Profiler::ThreadTables* Profiler::Find(int thread) {
    auto& tables = Tables();
    auto it = tables.find(thread);
    return it == tables.end() ? nullptr : it->second.get();
}

Profiler::Profiler(const std::string& name_, int thread_) : name(name_), thread(thread_) { Start(name, thread); }
Profiler::~Profiler() { End(name, thread); }

void Profiler::Start(int thread, const char* name) {
    ThreadTables* t;
    {
        std::lock_guard<std::recursive_mutex> hold(Critical);
        t = Find(thread);
        if (!t) {
            auto made = std::make_unique<ThreadTables>();
            t = made.get();
            Tables()[thread] = std::move(made);
            threadOrder.push_back(thread);
        }
        t->frame.name = name ? name : "";
        t->frame.id = 1;
        t->frame.parent = 0;
        t->current.stamp = static_cast<std::int32_t>(TimeGetTime());
        t->current.sections.clear();
    }
    t->frame.count += 1;
    t->frame.start = static_cast<std::uint64_t>(Now());
}

void Profiler::End(int thread) {
    std::int64_t now = Now();
    {
        std::lock_guard<std::recursive_mutex> hold(Critical);
        ThreadTables* t = Find(thread);
        if (!t) return;
        Profile& f = t->frame;
        f.count = 0;
        f.id = 0;
        f.ticks = now - static_cast<std::int64_t>(f.start);
        int slot = t->historyEnd % HISTORY_SIZE;
        t->threadHistory[slot] = f;
        t->history[slot] = t->current;
        t->historyFilled[slot] = true;
        t->threadAverage.name = f.name;
        t->threadAverage.ticks += f.ticks;
        t->threadMax.name = f.name;
        if (t->threadMax.ticks < f.ticks) {
            t->threadMax.start = static_cast<std::uint32_t>(t->current.stamp);
            t->threadMax.ticks = f.ticks;
        }
        t->historyEnd += 1;
    }
    // A paused profiler holds every thread at its frame end (outside the lock),
    // but never past the program's end, or shut-down would wait on it.
    while (paused.load() && !Quitting.load()) SleepMs(1);
}

void Profiler::Start(const std::string& name, int thread) {
    // The owning thread alone writes its current table, but queries read the
    // averages and maxima, so every write happens under the lock.
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    if (!t) return;
    Profile& p = t->current.sections[name];
    p.name = name;
    p.count += 1;
    if (p.count > 1) return;  // already open: the outer span goes on
    t->current.open.push_back(name);
    if (p.id == 0) {
        p.id = t->frame.id;
        // Ids are 8 bits: the 256th distinct section of a frame shares id 255.
        if (t->frame.id < 255) t->frame.id += 1;
    }
    p.parent = t->frame.parent;
    t->frame.parent = p.id;
    p.start = static_cast<std::uint64_t>(Now());
}

void Profiler::End(const std::string& name, int thread) {
    std::int64_t now = Now();
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    if (!t) return;
    auto it = t->current.sections.find(name);
    // Closing what is not open changes nothing.
    if (it == t->current.sections.end() || it->second.count <= 0) return;
    if (std::find(t->current.open.begin(), t->current.open.end(), name) == t->current.open.end()) return;
    CloseSection(*t, name, now);
}

void Profiler::CloseSection(ThreadTables& t, const std::string& name, std::int64_t now) {
    Profile& p = t.current.sections[name];
    p.count -= 1;
    if (p.count > 0) return;
    // Sections opened inside this one and still open close first, innermost first.
    while (!t.current.open.empty() && t.current.open.back() != name) {
        std::string inner = t.current.open.back();
        Profile& q = t.current.sections[inner];
        q.count = 1;  // close it outright, whatever its nesting count
        CloseSection(t, inner, Now());
    }
    if (t.current.open.empty()) return;
    t.frame.parent = p.parent;
    t.current.open.pop_back();
    std::int64_t span = now - static_cast<std::int64_t>(p.start);
    p.ticks += span;
    p.start = static_cast<std::uint64_t>(span);

    Profile& a = t.averages.sections[name];
    a.name = name;
    a.ticks += span;
    if (p.id > a.id) {
        a.id = p.id;
        a.parent = p.parent;
    }
    Profile& m = t.maxes.sections[name];
    m.name = name;
    if (m.ticks < p.ticks) {
        m.start = static_cast<std::uint32_t>(t.current.stamp);
        m.ticks = p.ticks;
    }
    if (p.id > m.id) {
        m.parent = p.parent;
        m.id = p.id;
    }
}

void Profiler::Pause() { paused.store(!paused.load()); }

void Profiler::Reset() {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    // Slot 0 keeps its entries, and with them the thread list.
    for (auto& [id, t] : Tables()) {
        for (int i = 1; i < HISTORY_SIZE; ++i) {
            t->history[i] = ProfileHashMap_{};
            t->threadHistory[i] = Profile{};
            t->historyFilled[i] = false;
        }
        t->averages = ProfileHashMap_{};
        t->maxes = ProfileHashMap_{};
        t->threadAverage = Profile{};
        t->threadMax = Profile{};
        t->current = ProfileHashMap_{};
        t->frame = Profile{};
        t->historyEnd = 0;
    }
}

void Profiler::SortByChildren(std::vector<Profile>& list) {
    if (list.empty()) return;
    std::stable_sort(list.begin(), list.end());
    for (size_t i = 1; i < list.size(); ++i) {
        Profile& e = list[i];
        if (e.parent == 0) continue;
        size_t at = static_cast<size_t>(e.parent) - 1;
        // Averages and maxima mix ids from different frames: a parent
        // position at or after this entry cannot be its parent.
        e.count = at < i ? list[at].count + 1 : 1;
    }
}

void Profiler::GetThreads(std::vector<int>& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    out.clear();
    for (int id : threadOrder) {
        ThreadTables* t = Find(id);
        if (t && t->historyFilled[0]) out.push_back(id);
    }
}

int Profiler::GetCurrentHistory(int thread) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    return t ? t->historyEnd % HISTORY_SIZE : 0;
}

namespace {
int Slot(int slot) {
    int s = slot % Profiler::HISTORY_SIZE;
    return s < 0 ? s + Profiler::HISTORY_SIZE : s;
}
void CopyNamed(const ProfileHashMap_& table, std::vector<Profile>& out) {
    for (const auto& [name, p] : table.sections)
        if (!name.empty()) out.push_back(p);
}
}  // namespace

void Profiler::GetHistory(int thread, int slot, std::vector<Profile>& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    out.clear();
    ThreadTables* t = Find(thread);
    if (!t) return;
    CopyNamed(t->history[Slot(slot)], out);
    SortByChildren(out);
}

int Profiler::GetHistoryStamp(int thread, int slot) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    return t ? t->history[Slot(slot)].stamp : 0;
}

void Profiler::GetThreadData(int thread, int slot, Profile& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    out = t ? t->threadHistory[Slot(slot)] : Profile{};
}

void Profiler::GetAverages(int thread, std::vector<Profile>& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    out.clear();
    ThreadTables* t = Find(thread);
    if (!t || t->historyEnd == 0) return;  // no ended frame: nothing to average
    CopyNamed(t->averages, out);
    for (Profile& p : out) p.ticks /= t->historyEnd;
    SortByChildren(out);
}

void Profiler::GetThreadAverage(int thread, Profile& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    out = t ? t->threadAverage : Profile{};
    if (t && t->historyEnd > 0) out.ticks /= t->historyEnd;
}

void Profiler::GetMaxes(int thread, std::vector<Profile>& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    out.clear();
    ThreadTables* t = Find(thread);
    if (!t) return;
    CopyNamed(t->maxes, out);
    SortByChildren(out);
}

void Profiler::GetThreadMax(int thread, Profile& out) {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    ThreadTables* t = Find(thread);
    out = t ? t->threadMax : Profile{};
}
