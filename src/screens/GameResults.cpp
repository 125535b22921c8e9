#include "screens/GameResults.h"

#include <cstdio>

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"

namespace LevelData::GameResults {

namespace {

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    Arm(self);
    MenuScreen::Backdrop("nightSky");
    ScreenSteps::Label(Heading("Player Ranking:"));

    GameData::TheGame::GameVariables& game = GameVars();
    std::array<std::int32_t, 16> scores{};
    for (std::size_t i = 0; i < scores.size(); ++i) scores[i] = game.playerScores[i];
    const std::vector<int> ranking = Rank(scores);
    float charHeight = 0.15f, y = -0.2f;
    for (std::size_t k = 0; k < ranking.size(); ++k) {
        const auto id = static_cast<std::size_t>(ranking[k]);
        ScreenSteps::LabelSetup line = Heading("");
        line.text = RankLabel(static_cast<int>(k) + 1) + game.playerNames[id] + " (" +
                    std::to_string(game.playerScores[id]) + ")\n";
        line.height = 0.1f;
        line.multiLine = false;
        // The player's colour drawn opaque, whatever its alpha.
        line.primaryColor = static_cast<std::uint32_t>(game.playerColors[id]) | 0xFF000000u;
        line.charHeight = charHeight;
        line.y = y;
        ScreenSteps::Label(line);
        charHeight *= 0.65f;
        y *= 0.6f;
    }
}

// The title prompt that asks for a key.
void SpawnPrompt() { LevelTemplate::Spawn("TitleInstruction"); }

}  // namespace

std::vector<int> Rank(const std::array<std::int32_t, 16>& scores) {
    std::vector<int> remaining;
    for (int id = 0; id < 16; ++id)
        if (scores[static_cast<std::size_t>(id)] != 0) remaining.push_back(id);
    std::vector<int> ranking;
    while (!remaining.empty()) {
        std::size_t best = 0;
        std::int64_t bestScore = -1;
        for (std::size_t i = 0; i < remaining.size(); ++i) {
            const std::int32_t score = scores[static_cast<std::size_t>(remaining[i])];
            if (score > bestScore) {
                best = i;
                bestScore = score;
            }
        }
        ranking.push_back(remaining[best]);
        remaining[best] = remaining.back();
        remaining.pop_back();
    }
    return ranking;
}

std::string RankLabel(int rank) {
    const char* format = rank == 1 ? "%ist: " : rank == 2 ? "%ind: " : rank == 3 ? "%ird: " : "%ith: ";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, rank);
    return buffer;
}

void _Copy(Entity* copy, const Entity* source) {
    // The match is over: a machine leaving now throws no one off the results.
    Net().SetOnKillClientCallBack(nullptr);
    Net().SetOnKillServerCallBack(nullptr);
    MenuScreen::Copy<Variables, &SpawnPrompt>(copy, source);
}

void Arm(Entity* level) { VariablesOf<Variables>(level).press.Arm(); }

ScreenSteps::LabelSetup Heading(const char* text) {
    ScreenSteps::LabelSetup heading;
    heading.text = text;
    heading.hAlign = 1;
    heading.x = 0.0f;
    heading.y = 0.4f;
    heading.z = -1000.0f;
    heading.setZ = true;
    heading.width = 2.0f;
    heading.height = 0.2f;
    heading.setHeight = true;
    heading.multiLine = true;
    heading.charHeight = 0.2f;
    heading.primaryColor = kHeadingColour;
    heading.setColor = true;
    return heading;
}

void Update(Entity* self, Entity*) {
    if (VariablesOf<Variables>(self).press.Check()) State::SetLevel(self->_state, "MainMenu");
}

Level* _Init() { return MenuScreen::Register<Variables>("GameResults", table, &_Copy, Event(), &Load, &Update); }

}  // namespace LevelData::GameResults
