#pragma once
// What single play keeps between runs, in "Progress.txt" beside the save
// file: for each built-in level whether it was reached and finished and its
// records (best time, most shards and fireflies, fewest deaths), and two
// choices of the player's (the on-screen counter shown, windowed play). The
// save file stays as it is; this file is its own.
//
// A file that is missing, damaged or of another kind reads as "nothing
// reached yet" with the choices at their defaults; it is left alone until the
// next save writes it whole (through WriteFileReplacing). Game thread only.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace Progress {

constexpr int kLevels = 13;
// Records no run of a level has set yet.
constexpr std::int32_t kNone = -1;
// The largest count or time the file keeps; a larger number makes it damaged.
constexpr std::int32_t kMaxValue = 100000000;
// The longest file read; a longer one is damaged.
constexpr std::size_t kMaxFileBytes = 16384;

struct LevelRecord {
    bool reached = false;
    bool finished = false;
    std::int32_t bestFrames = kNone;  // game frames, 60 a second
    std::int32_t mostShards = kNone;
    std::int32_t mostFireflies = kNone;
    std::int32_t fewestDeaths = kNone;

    bool operator==(const LevelRecord&) const = default;
};

struct Record {
    std::array<LevelRecord, kLevels> levels{};
    bool showCounter = true;
    bool windowed = false;

    bool operator==(const Record&) const = default;
};

// One finished run of a level, as the level counted it.
struct Run {
    std::int32_t frames = 0;
    std::int32_t shards = 0, shardsTotal = 0;
    std::int32_t fireflies = 0, firefliesTotal = 0;
    std::int32_t deaths = 0;
};

// The records a run broke; a level's first finish breaks none (there was
// nothing to beat).
struct NewBests {
    bool time = false, shards = false, fireflies = false, deaths = false;
    bool Any() const { return time || shards || fireflies || deaths; }
};

// The file's text for a record, and back. FromText answers false for
// anything it does not fully understand, and then leaves out as a fresh record.
std::string ToText(const Record& record);
bool FromText(const std::string& text, Record& out);

// The progress of this run of the program. It is read from the file the
// first time it is asked for (or by Load).
Record& Current();
// Reads the file into Current(): a missing, unreadable or damaged file gives
// a fresh record. Answers whether the file was read as it stands.
bool Load();
// Writes Current() whole; false when it could not (the old file stays).
bool Save();
std::string FilePath();

// Whether the level of index may be chosen: the first always, the others
// once reached.
bool Reachable(const Record& record, int index);
// The first level not yet finished (the first when all are).
int ContinueLevel(const Record& record);

// Notes a finished run of the level of index in Current(): the level
// finished, the next one reached, each record the run beat. Then saves.
// The records the run broke.
NewBests Finish(int index, const Run& run);

// The windowed choice: what the program asks of the main window now (null:
// nothing to ask, as in tests); the program fills it at start-up.
struct Hooks {
    bool (*windowedNow)() = nullptr;
};
extern Hooks hooks;
// Keeps the main window's present choice: when it differs from the kept one,
// the file is written. Run at every level switch, so F4 and the options'
// toggle are both kept.
void KeepWindowChoice();

}  // namespace Progress
