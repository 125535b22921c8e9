#include "framework/Progress.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "framework/AtomicFile.h"
#include "framework/BuiltInLevels.h"
#include "framework/Globals.h"
#include "framework/UserFile.h"

namespace Progress {

namespace {

constexpr char kHeader[] = "Glimmerfall progress 1";

// A count written as plain digits, 0 to kMaxValue.
bool ReadCount(const std::string& word, std::int32_t& value) {
    if (word.empty() || word.size() > 9) return false;
    std::int32_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > kMaxValue) return false;
    value = v;
    return true;
}

int LevelIndex(const std::string& name) {
    for (std::size_t i = 0; i < BuiltInLevelNames.size() && i < static_cast<std::size_t>(kLevels); ++i)
        if (name == BuiltInLevelNames[i]) return static_cast<int>(i);
    return -1;
}

std::int32_t Kept(std::int32_t value) { return std::clamp(value, 0, kMaxValue); }

// The lines of text, each without its line break (and a carriage return
// before it, as an editor may leave one).
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// One level's line into record; false when it is not one.
bool ReadLevelLine(const std::vector<std::string>& words, LevelRecord& record) {
    if (words.size() == 2 && words[1] == "reached") {
        record.reached = true;
        return true;
    }
    if (words.size() != 6 || words[1] != "finished") return false;
    LevelRecord r;
    r.reached = r.finished = true;
    if (!ReadCount(words[2], r.bestFrames) || !ReadCount(words[3], r.mostShards) ||
        !ReadCount(words[4], r.mostFireflies) || !ReadCount(words[5], r.fewestDeaths) || r.bestFrames < 1)
        return false;
    record = r;
    return true;
}

Record current;
bool loaded = false;

}  // namespace

constinit Hooks hooks;

std::string ToText(const Record& record) {
    std::string text = std::string(kHeader) + "\n";
    text += "# A level's line: reached, or finished with its best time (in 60ths of a second),\n";
    text += "# the most moon shards, the most fireflies and the fewest deaths of its runs.\n";
    text += std::string("counter ") + (record.showCounter ? "shown" : "hidden") + "\n";
    text += std::string("window ") + (record.windowed ? "windowed" : "full") + "\n";
    for (int i = 0; i < kLevels; ++i) {
        const LevelRecord& r = record.levels[static_cast<std::size_t>(i)];
        const std::string name = BuiltInLevelNames[static_cast<std::size_t>(i)];
        if (r.finished) {
            text += name + " finished " + std::to_string(Kept(std::max(r.bestFrames, 1))) + " " +
                    std::to_string(Kept(r.mostShards)) + " " + std::to_string(Kept(r.mostFireflies)) + " " +
                    std::to_string(Kept(r.fewestDeaths)) + "\n";
        } else if (r.reached) {
            text += name + " reached\n";
        }
    }
    return text;
}

bool FromText(const std::string& text, Record& out) {
    Record record;
    const std::vector<std::string> lines = Lines(text);
    if (lines.empty() || lines.front() != kHeader) {
        out = Record{};
        return false;
    }
    bool counterSeen = false, windowSeen = false;
    std::array<bool, kLevels> levelSeen{};
    bool ok = true;
    for (std::size_t n = 1; n < lines.size() && ok; ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        if (words[0] == "counter") {
            ok = !counterSeen && words.size() == 2 && (words[1] == "shown" || words[1] == "hidden");
            counterSeen = true;
            if (ok) record.showCounter = words[1] == "shown";
        } else if (words[0] == "window") {
            ok = !windowSeen && words.size() == 2 && (words[1] == "full" || words[1] == "windowed");
            windowSeen = true;
            if (ok) record.windowed = words[1] == "windowed";
        } else {
            const int index = LevelIndex(words[0]);
            ok = index >= 0 && !levelSeen[static_cast<std::size_t>(index)] &&
                 ReadLevelLine(words, record.levels[static_cast<std::size_t>(index)]);
            if (index >= 0) levelSeen[static_cast<std::size_t>(index)] = true;
        }
    }
    out = ok ? record : Record{};
    return ok;
}

std::string FilePath() { return std::string(Globals.userDataFolder) + "/Progress.txt"; }

Record& Current() {
    if (!loaded) Load();
    return current;
}

bool Load() {
    loaded = true;
    std::string text;
    if (Globals.userDataFolder[0] == '\0' || !ReadUserFile(FilePath(), kMaxFileBytes, text)) {
        current = Record{};
        return false;
    }
    return FromText(text, current);
}

bool Save() {
    if (Globals.userDataFolder[0] == '\0') return false;
    const std::string text = ToText(Current());
    return WriteFileReplacing(FilePath(), text.data(), text.size());
}

bool Reachable(const Record& record, int index) {
    if (index < 0 || index >= kLevels) return false;
    return index == 0 || record.levels[static_cast<std::size_t>(index)].reached;
}

int ContinueLevel(const Record& record) {
    for (int i = 0; i < kLevels; ++i)
        if (!record.levels[static_cast<std::size_t>(i)].finished) return i;
    return 0;
}

NewBests Finish(int index, const Run& run) {
    NewBests beaten;
    if (index < 0 || index >= kLevels) return beaten;
    Record& record = Current();
    LevelRecord& r = record.levels[static_cast<std::size_t>(index)];
    const std::int32_t frames = std::clamp(run.frames, 1, kMaxValue);
    const std::int32_t shards = Kept(run.shards), fireflies = Kept(run.fireflies), deaths = Kept(run.deaths);
    if (r.finished) {
        beaten.time = frames < r.bestFrames;
        beaten.shards = shards > r.mostShards;
        beaten.fireflies = fireflies > r.mostFireflies;
        beaten.deaths = deaths < r.fewestDeaths;
        r.bestFrames = std::min(r.bestFrames, frames);
        r.mostShards = std::max(r.mostShards, shards);
        r.mostFireflies = std::max(r.mostFireflies, fireflies);
        r.fewestDeaths = std::min(r.fewestDeaths, deaths);
    } else {
        r.bestFrames = frames;
        r.mostShards = shards;
        r.mostFireflies = fireflies;
        r.fewestDeaths = deaths;
    }
    r.reached = r.finished = true;
    if (index + 1 < kLevels) record.levels[static_cast<std::size_t>(index) + 1].reached = true;
    Save();
    return beaten;
}

void KeepWindowChoice() {
    if (hooks.windowedNow == nullptr) return;
    const bool windowed = hooks.windowedNow();
    Record& record = Current();
    if (record.windowed == windowed) return;
    record.windowed = windowed;
    Save();
}

}  // namespace Progress
