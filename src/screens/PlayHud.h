#pragma once
// What the single-play counter, the result card after a level and the level
// list share: the clock as it is shown, a built-in level's name as a player
// reads it and what it holds to gather, and light lettering with a dark
// outline placed on the view, so that it reads over any backdrop.
#include <cstdint>
#include <string>

namespace PlayHud {

// A time of play given in game frames (60 a second) as minutes, seconds and
// hundredths ("1:05.25"), or with tenths only ("1:05.2").
std::string Clock(std::int32_t frames, bool hundredths = true);

// "Grass Level 1" for "GrassLevel01", "Speedy Level 3" for "SpeedyLevel3".
std::string LevelTitle(int index);

// The moon shards and fireflies built-in level index holds (0 and 0 when it
// cannot be read). Read once per level and kept.
struct Totals {
    int shards = 0, fireflies = 0;
};
Totals LevelTotals(int index);

// Where lettering stands on the view: (x, y) in view units (height 1, origin
// at the centre, y up), the letters charHeight high, aligned to that point
// by hAlign (0: starts there, 1: centred on it, 2: ends there).
struct Lettering {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float charHeight = 0.03f;
    int hAlign = 0;
    const char* font = "default";
    std::uint32_t colour = 0xFFF4F1FFu;
    std::uint32_t outline = 0xE0100C24u;
};
// The lettering's width in view units.
float Width(const std::string& text, const Lettering& look);
// Queues the text in the current frame: a dark outline one letter's
// fifteenth wide all round, the letters over it.
void Letter(const std::string& text, const Lettering& look);

// A picture placed on the view (centre and size in view units).
void Picture(const char* texture, float x, float y, float z, float width, float height,
             std::uint32_t colour = 0xFFFFFFFFu);

}  // namespace PlayHud
