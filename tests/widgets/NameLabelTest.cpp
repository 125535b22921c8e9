// The player's name label, now that the text type exists: "name:score" over
// a networked player in its colour, nothing in single play, and no label
// left behind by a player that is deleted or replaced.
#include <gtest/gtest.h>

#include "objects/ObjectWorld.h"
#include "widgets/Text.h"

using namespace objtest;

namespace {

class NameLabelTest : public ObjectWorld {
protected:
    int Texts() const {
        int n = 0;
        for (Object* o : state->Objects())
            if (ObjectData::Text::Find(o) != nullptr && !o->_Deleted()) ++n;
        return n;
    }
    static ObjectData::Text::Variables& Label(Entity* player) { return *ObjectData::Text::Find(P(player).nameText); }
};

TEST_F(NameLabelTest, ANetworkedPlayerShowsNameAndScoreAboveItInItsColour) {
    SetGrid({"....", "....", "%%%%"});
    Object* player = MakePlayer("Player_1", 1.5f, 1.5f, true);
    P(player).playerName = "Ana";
    P(player).score = 7;
    ASSERT_NE(ObjectData::Text::Find(P(player).nameText), nullptr);
    Frame();
    EXPECT_EQ(Label(player).text, "Ana:7");
    EXPECT_FLOAT_EQ(Label(player).settings.x, P(player).position.x);
    EXPECT_FLOAT_EQ(Label(player).settings.y, P(player).position.y + 1.0f);
    EXPECT_EQ(Label(player).settings.primaryColor, P(player).playerColor & ObjectData::Player::kNameLabelTint);
    EXPECT_EQ(Label(player).settings.font, "ashleyscriptmtstd");
}

TEST_F(NameLabelTest, ASinglePlayerShowsNoLabel) {
    SetGrid({"....", "....", "%%%%"});
    Object* player = MakePlayer("Player_0", 1.5f, 1.5f, false);
    P(player).playerName = "Ana";
    Frame();
    EXPECT_TRUE(Label(player).text.empty());
}

TEST_F(NameLabelTest, ADeletedOrReplacedPlayerTakesItsLabelAlong) {
    SetGrid({"....", "....", "%%%%"});
    Object* player = MakePlayer("Player_1", 1.5f, 1.5f, true);
    Object* other = MakePlayer("Player_2", 2.5f, 1.5f, true);
    Frame();
    ASSERT_EQ(Texts(), 2);
    player->_Delete();
    EXPECT_EQ(Texts(), 1);
    Frame();
    State::EndOfFrame();
    EXPECT_EQ(Texts(), 1);

    // A copy makes a label of its own and leaves the source's alone; a
    // "Load" raised again replaces the label rather than adding one.
    Object* copy = Object::_MakeCopy(state, other, "OldPlayer");
    EXPECT_NE(P(copy).nameText, P(other).nameText);
    EXPECT_EQ(Texts(), 2);
    other->DoEvent("Load");
    EXPECT_EQ(Texts(), 2);
    other->_Delete();
    copy->_Delete();
    EXPECT_EQ(Texts(), 0);
}

}  // namespace
