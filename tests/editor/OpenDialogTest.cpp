// The open dialog and its level list through the real states: the list of
// the level folder's files, scrolling, choosing a row, and opening the
// chosen level, or refusing one that is gone or not a level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "editor/DialogWorld.h"
#include "framework/Action.h"
#include "widgets/ScrollBar.h"
#include "widgets/WidgetSupport.h"

using namespace editortest;

namespace {

class OpenDialogTest : public DialogWorld {
protected:
    ObjectData::OpenLevelList::Variables& List() const {
        return *ObjectData::OpenLevelList::Find(InDialog("LevelListScreen"));
    }
    Widgets::ScrollBar::Variables& ListBar() const { return *Widgets::ScrollBar::Find(List().levelSlider); }
    // The rows the list's text shows, top first.
    std::vector<std::string> Shown() const {
        std::vector<std::string> rows;
        std::istringstream in(ObjectData::Text::Find(List().levelList)->text);
        for (std::string line; std::getline(in, line);) rows.push_back(line);
        return rows;
    }
    // Clicks row k of the list, counted from the top.
    void ClickRow(int k) {
        const auto& v = List();
        const float row = v.size.y / static_cast<float>(ObjectData::OpenLevelList::Rows(v));
        AllClick(v.position.x, v.position.y + v.size.y / 2.0f - (static_cast<float>(k) + 0.5f) * row);
    }
    void ConfirmOpen() { AllClick(-0.15f, -0.45f); }
    // The list's bar moved to value, its thumb with it, as a drag leaves it.
    void Scroll(float value) {
        ListBar().value = value;
        Widgets::RaiseOwn(List().levelSlider, "UpdatePosition", nullptr);
        AllFrame();
    }
};

TEST_F(OpenDialogTest, FiftyFilesShowTheRowsThatFitScrollAndAClickPicksTheEntryShown) {
    for (int i = 0; i < 50; ++i) WriteLevel("Level " + std::to_string(i), 20, 20);
    OpenEditor();
    OpenDialog("LevelEditorLoad");
    const std::vector<std::string>& names = List().levelNames;
    ASSERT_EQ(names.size(), 51u) << "the 50 files and the editor's Default";
    EXPECT_EQ(ListBar().ticks, 51);
    EXPECT_EQ(ListBar().max, 50.0f);
    const int rows = ObjectData::OpenLevelList::Rows(List());
    ASSERT_GE(rows, 15) << "rows of the dialogs' letter size fill the list";
    ASSERT_LT(rows, 51);
    auto shownFrom = [&](int first) {
        std::vector<std::string> shown;
        for (int i = first; i < std::min(first + rows, 51); ++i)
            shown.push_back(ObjectData::OpenLevelList::ShownName(names[static_cast<std::size_t>(i)]));
        return shown;
    };
    EXPECT_EQ(Shown(), shownFrom(0));

    ClickRow(3);
    EXPECT_EQ(List().clickedLevel, names[3]);

    // Scrolled by 7: row k shows entry 7 + k.
    Scroll(7.0f);
    EXPECT_EQ(Shown(), shownFrom(7));
    ClickRow(10);
    EXPECT_EQ(List().clickedLevel, names[17]);

    // Scrolled to the end: the last entry in the top row; a click below it keeps the choice.
    Scroll(50.0f);
    EXPECT_EQ(Shown(), shownFrom(50));
    ClickRow(5);
    EXPECT_EQ(List().clickedLevel, names[17]);
    ClickRow(0);
    EXPECT_EQ(List().clickedLevel, names[50]);
}

// The list reads as a reader looks a name up: by name whatever the case of
// its letters, without the file's extension.
TEST_F(OpenDialogTest, TheListIsSortedByNameCaseFoldedAndShowsNoExtension) {
    const std::string longName = "A very long level name that does not fit in its row at all 123";
    for (const std::string& name :
         std::vector<std::string>{"cherry", "Banana", "apple 2", "Apple", "banana", "Zed", longName})
        WriteLevel(name, 20, 20);
    OpenEditor();
    OpenDialog("LevelEditorLoad");
    EXPECT_EQ(List().levelNames, (std::vector<std::string>{longName + ".lvl", "Apple.lvl", "apple 2.lvl", "Banana.lvl",
                                                           "banana.lvl", "cherry.lvl", "Default.lvl", "Zed.lvl"}));
    const std::vector<std::string> shown = Shown();
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown[1], "Apple");
    EXPECT_EQ(shown[2], "apple 2");
    EXPECT_EQ(shown[7], "Zed");
    for (const std::string& row : shown) EXPECT_EQ(row.find(".lvl"), std::string::npos) << row;
}

// A second click on the same entry opens it, as the confirm button does.
TEST_F(OpenDialogTest, ADoubleClickOnAnEntryOpensIt) {
    WriteLevel("Twice", 40, 25);
    OpenEditor();
    OpenDialog("LevelEditorLoad");
    const auto& names = List().levelNames;
    const int row = static_cast<int>(std::find(names.begin(), names.end(), "Twice.lvl") - names.begin());
    ClickRow(row);
    ASSERT_TRUE(DialogOpen()) << "one click chooses";
    ClickRow(row);
    EXPECT_FALSE(DialogOpen()) << "the second opens";
    EXPECT_EQ(Vars().LevelName, "Twice");
    EXPECT_EQ(Grid().grid.GetWidth(), 40);

    // Two clicks on two entries open nothing.
    OpenDialog("LevelEditorLoad");
    ClickRow(0);
    ClickRow(1);
    EXPECT_TRUE(DialogOpen());
}

TEST_F(OpenDialogTest, OnlyLevelFilesWithValidNamesAreListed) {
    WriteLevel("Good one", 20, 20);
    folder.Write("Upper.LVL", folder.Read("Good one.lvl"));
    folder.Write("bad!.lvl", folder.Read("Good one.lvl"));
    folder.Write(" lead.lvl", folder.Read("Good one.lvl"));
    folder.Write("a.b.lvl", folder.Read("Good one.lvl"));
    folder.Write("notes.txt", {1, 2, 3});
    OpenEditor();
    OpenDialog("LevelEditorLoad");
    std::vector<std::string> names = List().levelNames;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Default.lvl", "Good one.lvl"}));
}

TEST_F(OpenDialogTest, OpeningAFileLoadsItAndTheEditorFollows) {
    WriteLevel("Wide", 60, 30);
    LevelCollision wide;
    ASSERT_TRUE(wide.Load("Wide.lvl"));
    wide.SetCell(40.0f, 20.0f, 7);
    ASSERT_TRUE(wide.Save("Wide.lvl"));
    OpenEditor();
    Grid().grid.PushUndoAction(new Action());
    OpenDialog("LevelEditorLoad");
    // Confirming without a choice does nothing.
    ConfirmOpen();
    ASSERT_TRUE(DialogOpen());
    EXPECT_EQ(Vars().LevelName, "Default");

    const auto& names = List().levelNames;
    const int row = static_cast<int>(std::find(names.begin(), names.end(), "Wide.lvl") - names.begin());
    ClickRow(row);
    ASSERT_EQ(List().clickedLevel, "Wide.lvl");
    ConfirmOpen();
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(Vars().LevelName, "Wide");
    EXPECT_EQ(EditorLevelName, "Wide");
    EXPECT_EQ(Vars().GridWidth, 60);
    EXPECT_EQ(Vars().GridHeight, 30);
    EXPECT_EQ(Grid().grid.GetCell(40, 20), 7);
    EXPECT_EQ(Grid().grid.UndoCount(), 0u);
    EXPECT_EQ(BarValue("GSliderH", enum_value), 0.0f);
    EXPECT_EQ(BarValue("GSliderV", enum_value), BarValue("GSliderV", enum_max)) << "the view is back on row 0";
    EXPECT_EQ(BarValue("GSliderV", enum_max), 21.0f);
}

TEST_F(OpenDialogTest, ACorruptOrVanishedFileLeavesTheEditorAsItWasWithAMessage) {
    WriteLevel("Broken", 20, 20);
    WriteLevel("Gone", 20, 20);
    folder.Write("Broken.lvl", {1, 2, 3, 4, 5});
    OpenEditor();
    Grid().grid.SetCell(3.0f, 3.0f, 2);
    OpenDialog("LevelEditorLoad");
    ASSERT_EQ(std::remove((folder.levels + "Gone.lvl").c_str()), 0);
    for (const char* file : {"Broken.lvl", "Gone.lvl"}) {
        SCOPED_TRACE(file);
        const auto& names = List().levelNames;
        ClickRow(static_cast<int>(std::find(names.begin(), names.end(), file) - names.begin()));
        ASSERT_EQ(List().clickedLevel, file);
        ConfirmOpen();
        ASSERT_TRUE(DialogOpen());
        EXPECT_NE(DialogMessage().find(file), std::string::npos) << DialogMessage();
        EXPECT_EQ(Vars().LevelName, "Default");
        EXPECT_EQ(EditorLevelName, "Default");
        EXPECT_EQ(Grid().grid.GetCell(3, 3), 2);
    }
    // The editor's next save still writes its own file only.
    AllClick(0.2f, -0.45f);
    AllClick(-0.72f, 0.32f);
    EXPECT_EQ(folder.Read("Broken.lvl"), (std::vector<unsigned char>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(LevelCollision::FileExists("Gone.lvl"));
}

TEST_F(OpenDialogTest, AnEmptyFolderGivesAFrozenBarAndConfirmDoesNothing) {
    OpenEditor();
    ASSERT_EQ(std::remove((folder.levels + "Default.lvl").c_str()), 0);
    OpenDialog("LevelEditorLoad");
    EXPECT_TRUE(List().levelNames.empty());
    EXPECT_EQ(ListBar().ticks, 1);
    EXPECT_EQ(ListBar().max, 0.0f);
    EXPECT_TRUE(Shown().empty());
    ClickRow(0);
    EXPECT_EQ(List().clickedLevel, "nothing");
    ConfirmOpen();
    EXPECT_TRUE(DialogOpen());
    EXPECT_EQ(Vars().LevelName, "Default");
}

}  // namespace
