#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/GameVariables.h"
#include "framework/Globals.h"
#include "framework/SaveFile.h"
#include "support/EntityWorld.h"
#include "support/FileSizeLimit.h"
#include "support/NotAFile.h"
#include "support/TempFolder.h"

using namespace world;

namespace {

class GameTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        CopyPath(Globals.userDataFolder, home.Path());
    }
    void TearDown() override {
        EntityWorld::TearDown();
        Globals.userDataFolder[0] = '\0';
    }
    std::string ReadSave() const {
        std::ifstream in(SaveFilePath(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteSave(const std::string& text) const {
        std::ofstream out(SaveFilePath(), std::ios::binary | std::ios::trunc);
        out << text;
    }
    static bool InRange(int value) { return (value >= 0 && value <= 63) || (value >= 191 && value <= 254); }

    TempFolder home;
};

std::vector<int> pressed;
bool KeyTriggered(int code) { return std::find(pressed.begin(), pressed.end(), code) != pressed.end(); }
int rumbles = 0;
void Rumble(int) { ++rumbles; }

}  // namespace

TEST_F(GameTest, FreshGameHasItsDefaults) {
    Game* game = GetMyGame();
    ASSERT_NE(game, nullptr);
    const auto& v = GameVars();
    EXPECT_TRUE(v.inputFlag);
    EXPECT_FLOAT_EQ(v.playerGravity, -0.005f);
    EXPECT_EQ(v.playerRed, 255);
    EXPECT_EQ(v.playerGreen, 5);
    EXPECT_EQ(v.playerBlue, 150);
    EXPECT_EQ(v.SCORE_CHECKPOINT, 10);
    EXPECT_EQ(v.SCORE_MOONSHARD, 15);
    EXPECT_EQ(v.SCORE_GOAL, 20);
    EXPECT_EQ(v.SCORE_FIREFLY, 1);
    EXPECT_EQ(v.SCORE_KILL, 5);
    // What the save file would give is there before any load.
    EXPECT_EQ(v.playerName, "NoName");
    EXPECT_TRUE(v.rumbleOn && v.wiiControls && v.xbox360Controls && v.resolutionAuto);
    EXPECT_FLOAT_EQ(v.mVolume, 0.5f);
    EXPECT_FLOAT_EQ(v.sVolume, 0.5f);
    EXPECT_EQ(v.playerScores[15], 0);
    EXPECT_EQ(v.startPos, D3DXVECTOR3());
    // Reached by number like every other entity's variables.
    EXPECT_EQ(Variable<std::int32_t>(game, enum_SCORE_GOAL), 20);
    EXPECT_EQ(&Variable<bool>(game, enum_resolutionAuto), &v.resolutionAuto);
    EXPECT_EQ(enum_resolutionAuto, 462);
    CurrentLevelIndex = 7;
    Game::Load();
    EXPECT_EQ(CurrentLevelIndex, 0);
}

TEST_F(GameTest, FunctionKeysToggleTheSwitches) {
    Game::hooks.keyTriggered = &KeyTriggered;
    Game::hooks.rumble = &Rumble;
    rumbles = 0;
    auto& v = GameVars();
    pressed = {0x41};
    Game::Update();
    EXPECT_FALSE(v.rumbleOn);
    EXPECT_EQ(rumbles, 0);
    Game::Update();
    EXPECT_TRUE(v.rumbleOn);
    EXPECT_EQ(rumbles, 1);
    pressed = {0x3F, 0x40, 0x42};
    Game::Update();
    EXPECT_FALSE(v.wiiControls);
    EXPECT_FALSE(v.resolutionAuto);
    EXPECT_FALSE(v.xbox360Controls);
    pressed.clear();
}

TEST_F(GameTest, MissingOrForeignFileGivesTheDefaults) {
    for (const char* content : {static_cast<const char*>(nullptr), "Ver2\n1 2 3\n", "Ver3\r\n1 2 3\n"}) {
        SCOPED_TRACE(content != nullptr ? content : "no file");
        std::filesystem::remove(SaveFilePath());
        if (content != nullptr) WriteSave(content);
        auto& v = GameVars();
        v.playerName = "Someone";
        v.SCORE_GOAL = 99;
        v.rumbleOn = false;
        v.mVolume = 0.1f;
        for (int round = 0; round < 20; ++round) {
            DataLoad();
            EXPECT_TRUE(InRange(v.playerRed) && InRange(v.playerGreen) && InRange(v.playerBlue));
            EXPECT_TRUE(v.playerRed >= 191 || v.playerGreen >= 191 || v.playerBlue >= 191);
        }
        EXPECT_EQ(v.playerName, "NoName");
        EXPECT_EQ(v.SCORE_GOAL, 20);
        EXPECT_TRUE(v.rumbleOn);
        EXPECT_EQ(v.firstTimePlaying, 1);
        EXPECT_FLOAT_EQ(v.mVolume, 0.5f);
    }
}

// Whatever stands at the save file's name, the program reaches its first
// screen: what is not a save file gives the defaults, without a wait and
// without reading more than a save file can hold.
TEST_F(GameTest, WhatCannotBeASaveFileGivesTheDefaultsWithoutWaitingOrReadingOn) {
    constexpr std::uint64_t kSaveLimit = 64 * 1024;
    const std::string valid = "Ver3\n1 2 3\n11 16 21 2 6\nKept\n0 0 0 0 0\n0.250000 0.750000\n";
    struct Case {
        const char* what;
        bool (*place)(const std::string& path, const std::string& valid);
    };
    const Case cases[] = {
        {"a named pipe with no writer",
         [](const std::string& path, const std::string&) { return notafile::Place(notafile::Kind::NamedPipe, path); }},
        {"a link to /dev/zero",
         [](const std::string& path, const std::string&) {
             return notafile::Place(notafile::Kind::EndlessDevice, path);
         }},
        {"a folder",
         [](const std::string& path, const std::string&) { return notafile::Place(notafile::Kind::Folder, path); }},
        {"a good beginning, then a line of 300 MB",
         [](const std::string& path, const std::string& valid) {
             return notafile::PlaceLongFile(path, valid.substr(0, valid.find("Kept")), 300ull * 1024 * 1024);
         }},
        {"a good save followed by more than a save file holds",
         [](const std::string& path, const std::string& valid) {
             return notafile::PlaceLongFile(path, valid, kSaveLimit + 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(SaveFilePath());
        ASSERT_TRUE(c.place(SaveFilePath(), valid));
        auto& v = GameVars();
        v.playerName = "Someone";
        v.SCORE_GOAL = 99;
        v.rumbleOn = false;
        v.mVolume = 0.1f;
        const std::uint64_t bytes = notafile::BytesReadBy([] { DataLoad(); });
        EXPECT_LE(bytes, kSaveLimit + 1);
        EXPECT_EQ(v.playerName, "NoName");
        EXPECT_EQ(v.SCORE_GOAL, 20);
        EXPECT_TRUE(v.rumbleOn);
        EXPECT_FLOAT_EQ(v.mVolume, 0.5f);
    }

    // Up to the bound, it is read as any save file: what follows the six
    // lines is left alone.
    std::filesystem::remove_all(SaveFilePath());
    ASSERT_TRUE(notafile::PlaceLongFile(SaveFilePath(), valid, kSaveLimit));
    DataLoad();
    EXPECT_EQ(GameVars().playerName, "Kept");
    EXPECT_EQ(GameVars().SCORE_GOAL, 21);
    EXPECT_FLOAT_EQ(GameVars().sVolume, 0.75f);
}

TEST_F(GameTest, SaveAndLoadRoundTrip) {
    auto& v = GameVars();
    v.playerRed = 12;
    v.playerGreen = 200;
    v.playerBlue = 40;
    v.SCORE_CHECKPOINT = 11;
    v.SCORE_MOONSHARD = 16;
    v.SCORE_GOAL = 21;
    v.SCORE_FIREFLY = 2;
    v.SCORE_KILL = 6;
    v.playerName = "Rowan Ash";
    v.rumbleOn = false;
    v.wiiControls = true;
    v.xbox360Controls = false;
    v.resolutionAuto = true;
    v.firstTimePlaying = 0;
    v.mVolume = 0.25f;
    v.sVolume = 0.75f;
    DataSave();
    EXPECT_EQ(ReadSave(), "Ver3\n12 200 40\n11 16 21 2 6\nRowan Ash\n0 1 0 1 0\n0.250000 0.750000\n");
    EXPECT_FALSE(std::filesystem::exists(SaveFilePath() + ".tmp"));

    Game::_FirstInit();
    DataLoad();
    auto& w = GameVars();
    EXPECT_EQ(w.playerRed, 12);
    EXPECT_EQ(w.playerGreen, 200);
    EXPECT_EQ(w.playerBlue, 40);
    EXPECT_EQ(w.SCORE_CHECKPOINT, 11);
    EXPECT_EQ(w.SCORE_KILL, 6);
    EXPECT_EQ(w.playerName, "Rowan Ash");
    EXPECT_FALSE(w.rumbleOn);
    EXPECT_TRUE(w.wiiControls);
    EXPECT_FALSE(w.xbox360Controls);
    EXPECT_TRUE(w.resolutionAuto);
    EXPECT_EQ(w.firstTimePlaying, 0);
    EXPECT_FLOAT_EQ(w.mVolume, 0.25f);
    EXPECT_FLOAT_EQ(w.sVolume, 0.75f);
}

TEST_F(GameTest, NamesThatCouldShiftTheLines) {
    struct Case {
        const char* what;
        std::string name;
        std::string saved;
    };
    const Case cases[] = {
        {"empty", "", "NoName"},
        {"NoName", "NoName", "NoName"},
        {"line breaks", "two\r\nlines\n", "twolines"},
        {"too long", std::string(300, 'x'), std::string(127, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameVars().playerName = c.name;
        GameVars().mVolume = 0.125f;
        DataSave();
        const std::string text = ReadSave();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
        EXPECT_NE(text.find("\n" + c.saved + "\n"), std::string::npos);
        GameVars().mVolume = 0.0f;
        DataLoad();
        EXPECT_EQ(GameVars().playerName, c.saved);
        EXPECT_FLOAT_EQ(GameVars().mVolume, 0.125f);
    }
}

TEST_F(GameTest, ShortFileChangesOnlyWhatItHolds) {
    WriteSave("Ver3\n1 2 3\n");
    auto& v = GameVars();
    v.SCORE_GOAL = 33;
    v.playerName = "Kept";
    DataLoad();
    EXPECT_EQ(v.playerRed, 1);
    EXPECT_EQ(v.playerGreen, 2);
    EXPECT_EQ(v.playerBlue, 3);
    EXPECT_EQ(v.SCORE_GOAL, 33);
    EXPECT_EQ(v.playerName, "Kept");
    // A partial switches line sets only the switches it gives.
    WriteSave("Ver3\n1 2 3\n10 15 20 1 5\nName\n0 0\n");
    v.xbox360Controls = true;
    DataLoad();
    EXPECT_FALSE(v.rumbleOn);
    EXPECT_FALSE(v.wiiControls);
    EXPECT_TRUE(v.xbox360Controls);
}

TEST_F(GameTest, FailedWriteKeepsThePreviousFile) {
    GameVars().playerName = "First";
    DataSave();
    const std::string before = ReadSave();
    // No file may grow in this process for a moment, so the new text cannot be written.
    {
        FileSizeLimit noGrowth(0);
        GameVars().playerName = "Second";
        DataSave();
    }
    EXPECT_EQ(ReadSave(), before);
    // No user data folder: nothing is written anywhere.
    Globals.userDataFolder[0] = '\0';
    DataSave();
}

TEST_F(GameTest, BasicLevelStartsAsAnEmptyTenByTenGrid) {
    LevelCollision& grid = GameVars().basicLevel;
    EXPECT_EQ(grid.GetWidth(), 10);
    EXPECT_EQ(grid.GetHeight(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(grid.GetCell(x, y), 0);
    // Reached by its variable number like every other game variable.
    EXPECT_EQ(FindVariable<LevelCollision>(GetMyGame(), enum_basicLevel), &grid);
}
