#include "framework/SaveFile.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <string>

#include "framework/AtomicFile.h"
#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Globals.h"
#include "framework/UserFile.h"

namespace {

constexpr std::size_t kLineLimit = kSavedNameLength;
// Six lines of at most 127 characters fit many times over; anything longer
// is no save file and is not read.
constexpr std::size_t kFileLimit = 64 * 1024;

// A name as it goes on its line: no line breaks, at most 127 characters.
std::string SavedName(const std::string& name) {
    std::string clean;
    for (char c : name)
        if (c != '\r' && c != '\n') clean += c;
    if (clean.size() > kSavedNameLength) clean.resize(kSavedNameLength);
    return clean.empty() ? std::string("NoName") : clean;
}

// One save file write at a time, from whichever thread (alone: nothing else
// is taken while it is held). It also guards the kept text.
std::mutex saving;
std::string kept;

bool Write(const std::string& text) {
    if (Globals.userDataFolder[0] == '\0') return false;
    // Whole or not at all: a crash mid-write leaves the earlier save.
    return WriteFileReplacing(SaveFilePath(), text.data(), text.size());
}

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (line.size() > kLineLimit) line.resize(kLineLimit);
    return true;
}

}  // namespace

std::string SaveFilePath() { return std::string(Globals.userDataFolder) + "/TavelinData.sav"; }

void ApplySaveDefaults(bool colour) {
    if (GetMyGame() == nullptr) return;
    GameData::TheGame::GameVariables& v = GameVars();
    if (colour) {
        std::rand();
        v.playerRed = std::rand() % 64;
        v.playerGreen = std::rand() % 64;
        v.playerBlue = std::rand() % 64;
        for (int pick = 0; pick < 2; ++pick) {
            int value = 191 + std::rand() % 64;
            switch (std::rand() % 3) {
                case 0: v.playerRed = value; break;
                case 1: v.playerGreen = value; break;
                default: v.playerBlue = value; break;
            }
        }
    }
    v.playerName = "NoName";
    v.rumbleOn = v.wiiControls = v.xbox360Controls = v.resolutionAuto = true;
    v.firstTimePlaying = 1;
    v.SCORE_CHECKPOINT = 10;
    v.SCORE_MOONSHARD = 15;
    v.SCORE_GOAL = 20;
    v.SCORE_FIREFLY = 1;
    v.SCORE_KILL = 5;
    v.mVolume = 0.5f;
    v.sVolume = 0.5f;
}

std::string SaveText() {
    if (GetMyGame() == nullptr) return {};
    const GameData::TheGame::GameVariables& v = GameVars();
    char line[256];
    std::string text = "Ver3\n";
    std::snprintf(line, sizeof line, "%i %i %i\n", v.playerRed, v.playerGreen, v.playerBlue);
    text += line;
    std::snprintf(line, sizeof line, "%i %i %i %i %i\n", v.SCORE_CHECKPOINT, v.SCORE_MOONSHARD, v.SCORE_GOAL,
                  v.SCORE_FIREFLY, v.SCORE_KILL);
    text += line;
    text += SavedName(v.playerName) + "\n";
    std::snprintf(line, sizeof line, "%i %i %i %i %i\n", v.rumbleOn ? 1 : 0, v.wiiControls ? 1 : 0,
                  v.xbox360Controls ? 1 : 0, v.resolutionAuto ? 1 : 0, v.firstTimePlaying != 0 ? 1 : 0);
    text += line;
    std::snprintf(line, sizeof line, "%f %f\n", static_cast<double>(v.mVolume), static_cast<double>(v.sVolume));
    text += line;
    return text;
}

void DataSave() {
    if (GetMyGame() == nullptr || Globals.userDataFolder[0] == '\0') return;
    const std::string text = SaveText();
    std::lock_guard<std::mutex> hold(saving);
    kept = text;
    Write(text);
}

void KeepSettings() {
    if (GetMyGame() == nullptr) return;
    std::string text = SaveText();
    std::lock_guard<std::mutex> hold(saving);
    if (text != kept) kept = std::move(text);
}

bool SaveKeptSettings() {
    std::lock_guard<std::mutex> hold(saving);
    return !kept.empty() && Write(kept);
}

void DataLoad() {
    if (GetMyGame() == nullptr) return;
    // Whatever stands at the save file's name (a named pipe, a device, a
    // folder, a file without end) is read without waiting and only up to
    // what a save file can hold; anything else is no save file.
    std::string text;
    const bool read = Globals.userDataFolder[0] != '\0' && ReadUserFile(SaveFilePath(), kFileLimit, text);
    std::istringstream in(text);
    std::string line;
    if (!read || !ReadLine(in, line) || line != "Ver3") {
        ApplySaveDefaults(true);
        return;
    }
    GameData::TheGame::GameVariables& v = GameVars();
    if (ReadLine(in, line)) {
        std::sscanf(line.c_str(), "%i %i %i", &v.playerRed, &v.playerGreen, &v.playerBlue);
    }
    if (ReadLine(in, line)) {
        std::sscanf(line.c_str(), "%i %i %i %i %i", &v.SCORE_CHECKPOINT, &v.SCORE_MOONSHARD, &v.SCORE_GOAL,
                    &v.SCORE_FIREFLY, &v.SCORE_KILL);
    }
    if (ReadLine(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        v.playerName = line;
    }
    if (ReadLine(in, line)) {
        int values[5];
        int count =
            std::sscanf(line.c_str(), "%i %i %i %i %i", &values[0], &values[1], &values[2], &values[3], &values[4]);
        bool* switches[4] = {&v.rumbleOn, &v.wiiControls, &v.xbox360Controls, &v.resolutionAuto};
        for (int i = 0; i < count && i < 4; ++i) *switches[i] = values[i] != 0;
        if (count >= 5) v.firstTimePlaying = values[4] != 0 ? 1 : 0;
    }
    if (ReadLine(in, line)) {
        std::sscanf(line.c_str(), "%f %f", &v.mVolume, &v.sVolume);
    }
}
