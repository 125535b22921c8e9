// The two-list level picker over a temporary level folder, worked through
// the real input layer.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "framework/BuiltInLevels.h"
#include "support/TempUserFolder.h"
#include "support/WidgetWorld.h"
#include "widgets/CustomLevelSelector.h"
#include "widgets/ScrollBar.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"

using namespace widgettest;
using ObjectData::CustomLevelSelector::kRows;

namespace {

class LevelPickerTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        cursor = Make("Cursor", "Cursor");
    }
    ObjectData::CustomLevelSelector::Variables& Picker() {
        picker = Make("CustomLevelSelector", "CustomSelect");
        picker->DoEvent("Init");
        Frame();
        return *ObjectData::CustomLevelSelector::Find(picker);
    }
    static ObjectData::TextButton::Variables& Row(Object* row) {
        return VariablesOf<ObjectData::TextButton::Variables>(row);
    }
    static const std::string& Caption(Object* row) { return ObjectData::Text::Find(Row(row).textObj)->text; }
    static Widgets::ScrollBar::Variables& Bar(Object* slider) { return *Widgets::ScrollBar::Find(slider); }
    std::vector<std::string> Names(const std::vector<std::int32_t>& list) {
        auto& v = *ObjectData::CustomLevelSelector::Find(picker);
        std::vector<std::string> out;
        for (std::int32_t i : list) out.push_back(v.levelNames[static_cast<std::size_t>(i)]);
        return out;
    }
    void ClickRow(Object* row) { Click(Row(row).position.x, Row(row).position.y); }
    void ClickButton(Object* button) {
        const auto& p = Variable<D3DXVECTOR3>(button, enum_position);
        Click(p.x, p.y);
    }
    std::vector<Entity*> FocusOrder() {
        auto* m = ObjectData::TabManager::Find(state->level->GetMyObject("TabManager"));
        return m != nullptr ? std::vector<Entity*>(m->objectList.begin(), m->objectList.end()) : std::vector<Entity*>{};
    }

    TempUserFolder user;
    Object* cursor = nullptr;
    Object* picker = nullptr;
};

TEST_F(LevelPickerTest, WithNoLevelFilesTheLeftListHoldsTheBuiltInLevelsInOrder) {
    auto& v = Picker();
    ASSERT_EQ(v.levelNames.size(), 13u);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(v.levelNames[i], BuiltInLevelNames[i]);
        EXPECT_EQ(v.levelIdentifiers[i], static_cast<int>(i));
    }
    EXPECT_EQ(v.leftNames.size(), 13u);
    EXPECT_TRUE(v.rightNames.empty());
    EXPECT_EQ(Bar(v.stencilSliderLeft).ticks, 9);
    EXPECT_FLOAT_EQ(Bar(v.stencilSliderLeft).max, 8.0f);
    EXPECT_EQ(Bar(v.stencilSliderRight).ticks, 1);
    EXPECT_FLOAT_EQ(Bar(v.stencilSliderRight).max, 0.0f);
    for (int k = 0; k < kRows; ++k) {
        EXPECT_EQ(Caption(v.stencilListLeft[k]), BuiltInLevelNames[static_cast<std::size_t>(k)]);
        EXPECT_EQ(Row(v.stencilListLeft[k]).color, static_cast<std::uint32_t>(k + 1));
        EXPECT_EQ(Caption(v.stencilListRight[k]), "");
        EXPECT_EQ(Row(v.stencilListRight[k]).color, 0u);
    }
}

TEST_F(LevelPickerTest, LevelFilesFollowTheBuiltInLevels) {
    for (const char* name : {"mine.lvl", "Other.LVL", "notes.txt"}) std::ofstream(user.levels + name) << "x";
    auto& v = Picker();
    ASSERT_EQ(v.levelNames.size(), 15u);
    std::vector<std::string> files(v.levelNames.begin() + 13, v.levelNames.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Other.LVL", "mine.lvl"}));
    EXPECT_EQ(v.levelIdentifiers[13], -1);
    EXPECT_EQ(v.levelIdentifiers[14], -1);
    EXPECT_EQ(Bar(v.stencilSliderLeft).ticks, 11);
}

TEST_F(LevelPickerTest, AnUnreadableLevelFolderGivesTheBuiltInLevelsAlone) {
    std::ofstream(user.levels + "mine.lvl") << "x";
    ::chmod(user.levels.c_str(), 0);
    auto& v = Picker();
    ::chmod(user.levels.c_str(), 0755);
    // Root reads any folder; the test only means something for a user.
    if (::geteuid() != 0) {
        EXPECT_EQ(v.levelNames.size(), 13u);
    }
}

TEST_F(LevelPickerTest, MovesKeepEachLevelInOneListAndTheSelectionSensible) {
    auto& v = Picker();
    // The move buttons idle without a selection.
    for (Object* b : {v.rightButton, v.leftButton, v.upButton, v.downButton}) ClickButton(b);
    EXPECT_EQ(v.leftNames.size(), 13u);
    EXPECT_TRUE(v.rightNames.empty());

    ClickRow(v.stencilListLeft[1]);
    EXPECT_EQ(v.leftSelected, 1);
    EXPECT_TRUE(ObjectData::Text::Find(Row(v.stencilListLeft[1]).textObj)->settings.colorize);
    ClickButton(v.rightButton);
    EXPECT_EQ(Names(v.rightNames), (std::vector<std::string>{"GrassLevel02"}));
    EXPECT_EQ(v.leftSelected, 1) << "the next entry moves up under the selection";
    ClickButton(v.rightButton);
    ClickButton(v.rightButton);
    EXPECT_EQ(Names(v.rightNames), (std::vector<std::string>{"GrassLevel02", "GrassLevel03", "GrassLevel04"}));

    // Every level in exactly one list.
    std::vector<std::int32_t> all = v.leftNames;
    all.insert(all.end(), v.rightNames.begin(), v.rightNames.end());
    std::sort(all.begin(), all.end());
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], static_cast<std::int32_t>(i));

    // Up and down in the match order; nothing past its ends.
    ClickRow(v.stencilListRight[0]);
    EXPECT_EQ(v.rightSelected, 0);
    ClickButton(v.upButton);
    EXPECT_EQ(Names(v.rightNames)[0], "GrassLevel02");
    ClickButton(v.downButton);
    ClickButton(v.downButton);
    EXPECT_EQ(Names(v.rightNames), (std::vector<std::string>{"GrassLevel03", "GrassLevel04", "GrassLevel02"}));
    EXPECT_EQ(v.rightSelected, 2);
    ClickButton(v.downButton);
    EXPECT_EQ(v.rightSelected, 2);

    // Back to the left list: the last entry's selection moves up, the only one's goes.
    ClickButton(v.leftButton);
    EXPECT_EQ(v.rightSelected, 1);
    EXPECT_EQ(Names(v.leftNames).back(), "GrassLevel02");
    ClickButton(v.leftButton);
    ClickButton(v.leftButton);
    EXPECT_EQ(v.rightSelected, -1);
    EXPECT_TRUE(v.rightNames.empty());
    EXPECT_EQ(v.leftNames.size(), 13u);
}

TEST_F(LevelPickerTest, TheRightListScrollsWithTheSelectionAndOnlyShownRowsTakeTheFocus) {
    auto& v = Picker();
    auto inOrder = [&](Object* row) {
        const auto order = FocusOrder();
        return std::find(order.begin(), order.end(), row) != order.end();
    };
    for (int k = 0; k < kRows; ++k) {
        EXPECT_TRUE(inOrder(v.stencilListLeft[k]));
        EXPECT_FALSE(inOrder(v.stencilListRight[k]));
    }
    ClickRow(v.stencilListLeft[0]);
    for (int i = 0; i < 7; ++i) ClickButton(v.rightButton);
    ASSERT_EQ(v.rightNames.size(), 7u);
    for (int k = 0; k < kRows; ++k) EXPECT_TRUE(inOrder(v.stencilListRight[k]));
    EXPECT_EQ(Bar(v.stencilSliderRight).ticks, 3);

    ClickRow(v.stencilListRight[3]);
    ASSERT_EQ(v.rightSelected, 3);
    ClickButton(v.downButton);  // to the fifth row shown: no scroll yet
    EXPECT_FLOAT_EQ(Bar(v.stencilSliderRight).value, 0.0f);
    ClickButton(v.downButton);  // past it
    EXPECT_EQ(v.rightSelected, 5);
    EXPECT_FLOAT_EQ(Bar(v.stencilSliderRight).value, 1.0f);
    EXPECT_EQ(Caption(v.stencilListRight[4]), Names(v.rightNames)[5]);
    EXPECT_TRUE(ObjectData::Text::Find(Row(v.stencilListRight[4]).textObj)->settings.colorize);
    for (int i = 0; i < 4; ++i) ClickButton(v.upButton);
    EXPECT_EQ(v.rightSelected, 1);
    EXPECT_FLOAT_EQ(Bar(v.stencilSliderRight).value, 1.0f);
    ClickButton(v.upButton);  // up past the first row shown
    EXPECT_FLOAT_EQ(Bar(v.stencilSliderRight).value, 0.0f);

    // Scrolled to its end, the left list of six shows one empty row, which leaves the focus order.
    auto& left = Bar(v.stencilSliderLeft);
    ASSERT_EQ(v.leftNames.size(), 6u);
    left.value = left.max;
    v.stencilSliderLeft->DoEvent("UpdatePosition");
    Frame();
    EXPECT_FLOAT_EQ(left.value, 1.0f);
    EXPECT_EQ(Caption(v.stencilListLeft[4]), Names(v.leftNames)[5]);
    for (int i = 0; i < 6; ++i) ClickButton(v.rightButton);
    EXPECT_EQ(v.leftNames.size(), 0u);
    EXPECT_EQ(v.leftSelected, -1);
    for (int k = 0; k < kRows; ++k) {
        EXPECT_FALSE(inOrder(v.stencilListLeft[k]));
        EXPECT_EQ(Caption(v.stencilListLeft[k]), "");
    }
}

}  // namespace
