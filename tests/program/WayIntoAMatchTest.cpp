// The real program, headless, driven only by key and mouse events: from the
// main menu into the multiplayer lobby and the custom game's set-up and back,
// with the screens' network engine on a loopback address of the test's own.
#include <gtest/gtest.h>

#include <memory>

#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "networking/NetEngine.h"
#include "networking/NetTestSupport.h"
#include "networking/NetworkingUpdate.h"
#include "screens/ServerMenu.h"
#include "support/ScriptedProgram.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"

namespace {

using scripted::ProgramRun;

Level* Showing(const std::string& name) {
    for (State* state : State::_list)
        if (state->GetLevelName() == name) return state->GetLevel();
    return nullptr;
}

class WayIntoAMatchTest : public ProgramRun {
protected:
    void SetUp() override {
        ProgramRun::SetUp();
        engine = std::make_unique<Networking::NetEngine>(net.Config(1, true));
        EngineData::NetworkingUpdate::SetTarget(engine.get());
    }
    void TearDown() override {
        ProgramRun::TearDown();
        EngineData::NetworkingUpdate::SetTarget(nullptr);
        engine.reset();
    }
    nettest::LoopbackNet net;
    std::unique_ptr<Networking::NetEngine> engine;
};

TEST_F(WayIntoAMatchTest, MultiplayerThenCustomGameTakesAGameNameAndTheBackKeyReturns) {
    bool searching = false, listed = false, hosting = true;
    std::string typed, backFrom;
    const int status = Run(
        scripted::ReadFile(std::filesystem::path(GF_SOURCE_DIR) / "tests/program/scripts/way_into_a_match.script"),
        {{"lobby",
          [&] {
              searching = engine->IsSearching();
              Level* lobby = Showing("Lobby");
              listed = lobby != nullptr && ObjectData::ServerMenu::Find(lobby->GetMyObject("ServerMenu")) != nullptr;
          }},
         {"named",
          [&] {
              Level* set = Showing("MakeGame");
              auto* box =
                  set != nullptr ? ObjectData::SingleLineTextBox::Find(set->GetMyObject("serverName")) : nullptr;
              if (auto* text = box != nullptr ? ObjectData::Text::Find(box->textObject) : nullptr) typed = text->text;
              backFrom = GameVars().backToWhere;
          }},
         {"back", [&] { hosting = engine->IsServer() || engine->IsSearching(); }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ThreadHandleCount(), 0u);
    EXPECT_TRUE(searching) << "the lobby looks for games";
    EXPECT_TRUE(listed);
    EXPECT_EQ(typed, "moon");
    EXPECT_EQ(backFrom, "MakeGame") << "customising from here comes back here";
    EXPECT_FALSE(hosting) << "the main menu ends the search";
}

}  // namespace
