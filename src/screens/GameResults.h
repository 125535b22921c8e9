#pragma once
// "GameResults": the ranking that ends a networked match, one line per player
// who scored, in the player's colour. "SPResults" shares its copy step and
// its "Update": both leave for the main menu on a new press.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "screens/MenuScreen.h"
#include "screens/ScreenSteps.h"

namespace LevelData::GameResults {

// No script variables; the press tracker is the screen's own.
struct Variables {
    ScreenSteps::NewPress press;
};
using _DATA = LevelTemplate::Data<Variables>;

// The client ids of the players who scored (score not 0), best first; of
// equal scores the one standing earlier in the remaining list, whose order
// each removal changes (the last entry takes the removed one's place).
std::vector<int> Rank(const std::array<std::int32_t, 16>& scores);
// "1st: ", "2nd: ", "3rd: ", "4th: " ... "16th: " (11th to 13th included).
std::string RankLabel(int rank);

// The colour the results screens write their texts in.
constexpr std::uint32_t kHeadingColour = 0xFFC4BCAC;
// The heading of a results screen: centred at the top, large, in that colour.
ScreenSteps::LabelSetup Heading(const char* text);

// The copy step both results screens share: the engines, the title prompt,
// then "Load".
void _Copy(Entity* copy, const Entity* source);
// Their builders' first step: a control held as the screen opens (the last
// level's run, say) does not end it unseen.
void Arm(Entity* level);
// Their "Update": a new press returns to "MainMenu".
void Update(Entity* self, Entity* other);

Level* _Init();

}  // namespace LevelData::GameResults
