// The create, save-as and resize dialogs through the real states: each
// opened from the tool bar, filled in and confirmed or cancelled, with the
// editor's level, grid, scroll bars and level folder checked after.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "editor/DialogWorld.h"
#include "editor/LevelNameRule.h"
#include "framework/Action.h"

using namespace editortest;

namespace {

class DialogTest : public DialogWorld {
protected:
    // The editor on a level of 30 by 20 cells named "Mine".
    void OpenMine() {
        WriteLevel("Mine", 30, 20);
        EditorLevelName = "Mine";
        OpenEditor();
    }
    void Create(const std::string& name, const std::string& width, const std::string& height) {
        OpenDialog("LevelEditorCreate");
        SetBox("LevelNameTextBox", name);
        SetBox("GridWidthTextBox", width);
        SetBox("GridHeightTextBox", height);
        Confirm();
    }
    float Bar(const char* bar, int number) const { return BarValue(bar, number); }
};

// Sizes outside 16 to 200 are refused with a message naming the range, not
// held to it without a word; an empty box asks for both sizes.
TEST_F(DialogTest, CreateRefusesSizesOutsideTheRangeNamingIt) {
    OpenMine();
    const struct {
        const char *width, *height, *message;
    } cases[] = {
        {"5", "300", "The width and the height must be 16 to 200 cells."},
        {"1000", "9999", "The width and the height must be 16 to 200 cells."},
        {"5", "1", "The width and the height must be 16 to 200 cells."},
        {"0", "20", "The width must be 16 to 200 cells."},
        {"20", "201", "The height must be 16 to 200 cells."},
        {"15", "20", "The width must be 16 to 200 cells."},
        {"99999999999999999999", "20", "The width must be 16 to 200 cells."},
        {"", "20", "Enter a width and a height."},
        {"20", "", "Enter a width and a height."},
    };
    const auto before = Tree();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        Create("Big", c.width, c.height);
        ASSERT_TRUE(DialogOpen());
        EXPECT_EQ(DialogMessage(), c.message);
        EXPECT_EQ(Tree(), before);
        EXPECT_EQ(Vars().LevelName, "Mine");
        EXPECT_EQ(Grid().grid.GetWidth(), 30);
        AllClick(-0.4f, -0.4f);  // cancel
        ASSERT_FALSE(DialogOpen());
    }
    // In both dialogs that ask for a size, the boxes' labels name the range.
    for (const char* level : {"LevelEditorCreate", "LevelEditorResize"}) {
        SCOPED_TRACE(level);
        OpenDialog(level);
        int named = 0;
        for (Object* o : dialog->Objects())
            if (auto* t = ObjectData::Text::Find(o); t != nullptr && t->text.find("(16 - 200)") != std::string::npos)
                ++named;
        EXPECT_EQ(named, 2);
        AllClick(-0.4f, -0.4f);
        ASSERT_FALSE(DialogOpen());
    }
}

// The smallest width and the largest height make a new level at once, on
// disk with its start where the editor's first level has it.
TEST_F(DialogTest, CreateWritesTheNewLevelWithItsStartAndLaysTheViewOut) {
    OpenMine();
    Grid().grid.PushUndoAction(new Action());
    Create("Big", "16", "200");
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(Vars().GridWidth, 16);
    EXPECT_EQ(Vars().GridHeight, 200);
    EXPECT_EQ(Grid().grid.GetWidth(), 16);
    EXPECT_EQ(Grid().grid.GetHeight(), 200);
    EXPECT_EQ(Vars().LevelName, "Big");
    EXPECT_EQ(EditorLevelName, "Big");
    EXPECT_EQ(Grid().grid.UndoCount(), 0u);
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Big.lvl"));
    EXPECT_EQ(saved.GetWidth(), 16);
    EXPECT_EQ(saved.GetHeight(), 200);
    for (int i = 0; i < 16 * 200; ++i) ASSERT_EQ(saved.GetCell(i), i == 16 + 1 ? 101 : 0) << i;
    EXPECT_EQ(saved.GetStartPos(), D3DXVECTOR2(1.0f, 1.0f));
    EXPECT_EQ(Grid().StartPos, D3DXVECTOR2(1.0f, 1.0f));
    // 16 columns fit the view: the bar is frozen; 200 rows scroll, from row 0.
    EXPECT_EQ(Bar("GSliderH", enum_max), 2.0f);
    EXPECT_EQ(BarTicks("GSliderH"), 1);
    EXPECT_LT(Bar("GSliderH", enum_value), 1.0f) << "the view starts at column 0";
    EXPECT_EQ(Bar("GSliderV", enum_max), 191.0f);
    EXPECT_EQ(BarTicks("GSliderV"), 192);
    EXPECT_EQ(Bar("GSliderV", enum_value), 191.0f);
}

// Keys typed faster than the frames come, as a busy machine sees them: each
// group of presses between two frames; what follows a Tab or an Enter goes
// to the box the focus moves to, never into the one before it, and nothing
// is typed twice.
TEST_F(DialogTest, KeysTypedFasterThanFramesLandInTheBoxTheyWereTypedFor) {
    OpenEditor();
    auto press = [this](char c) {
        SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
        if (c >= 'a' && c <= 'z') key = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'a'));
        if (c >= '1' && c <= '9') key = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1'));
        if (c == '0') key = SDL_SCANCODE_0;
        if (c == '\t') key = SDL_SCANCODE_TAB;
        if (c == '\n') key = SDL_SCANCODE_RETURN;
        ASSERT_NE(key, SDL_SCANCODE_UNKNOWN) << c;
        Key(key, true);
        Key(key, false);
    };
    const struct {
        const char* what;
        std::vector<std::string> frames;  // the presses between two frames
    } cases[] = {
        {"a frame for each box", {"ab\t", "30\t", "20"}},
        {"everything in one frame", {"ab\t30\t20"}},
        {"Enter as the step, in one frame", {"ab\n30\n20"}},
        {"the steps in the middle of frames", {"a", "b\t3", "0\t2", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDialog("LevelEditorCreate");
        for (const std::string& frame : c.frames) {
            for (char k : frame) press(k);
            AllFrame();
        }
        for (int i = 0; i < 4; ++i) AllFrame();
        EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "LevelNameTextBox"), "ab");
        EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "GridWidthTextBox"), "30");
        EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "GridHeightTextBox"), "20");
        AllClick(-0.4f, -0.4f);  // cancel
        ASSERT_FALSE(DialogOpen());
    }
}

TEST_F(DialogTest, GoodNamesAreCreated) {
    OpenEditor();
    for (const std::string& name : std::vector<std::string>{"Trial", "my level-2_b", "A", std::string(64, 'x')}) {
        SCOPED_TRACE(name);
        Create(name, "40", "30");
        EXPECT_FALSE(DialogOpen());
        EXPECT_EQ(Vars().LevelName, name);
        EXPECT_EQ(Grid().grid.GetWidth(), 40);
        EXPECT_TRUE(LevelCollision::FileExists(name + ".lvl"));
    }
}

TEST_F(DialogTest, RefusedEntriesKeepTheDialogOpenWithAMessageAndChangeNothing) {
    OpenMine();
    WriteLevel("Taken", 20, 20);
    Grid().grid.SetCell(4.0f, 4.0f, 2);
    struct Case {
        std::string name, width, height;
    };
    const Case cases[] = {
        {"", "20", "20"},
        {"Ok", "0", "20"},
        {"Ok", "", "20"},
        {"Ok", "20", ""},
        {".x", "20", "20"},
        {" x", "20", "20"},
        {"x ", "20", "20"},
        {"../../x", "20", "20"},
        {"a/b", "20", "20"},
        {"a\\b", "20", "20"},
        {std::string(65, 'y'), "20", "20"},
        {"Taken", "20", "20"},
        {"Mine", "20", "20"},
        {"x.lvl", "20", "20"},
    };
    const auto before = Tree();
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.name + "\" " + c.width + " x " + c.height);
        Create(c.name, c.width, c.height);
        ASSERT_TRUE(DialogOpen());
        EXPECT_NE(DialogMessage(), "");
        EXPECT_EQ(Tree(), before);
        EXPECT_EQ(Vars().LevelName, "Mine");
        EXPECT_EQ(EditorLevelName, "Mine");
        EXPECT_EQ(Grid().grid.GetWidth(), 30);
        EXPECT_EQ(Grid().grid.GetCell(4, 4), 2);
        AllClick(-0.4f, -0.4f);  // cancel
        ASSERT_FALSE(DialogOpen());
    }
    EXPECT_EQ(LevelNameRule::Refusal("Taken"), "");
}

TEST_F(DialogTest, AFailedWriteChangesNothingAndTheLevelFolderIsMadeOnTheFirstSave) {
    OpenMine();
    const std::string levels = folder.levels.substr(0, folder.levels.size() - 1);
    ASSERT_EQ(std::system(("rm -rf '" + levels + "'").c_str()), 0);
    // A plain file where the folder should be: nothing can be written there.
    { std::ofstream blocker(levels); }
    for (const char* dialogLevel : {"LevelEditorCreate", "LevelEditorCreateAs"}) {
        SCOPED_TRACE(dialogLevel);
        OpenDialog(dialogLevel);
        SetBox(std::string(dialogLevel) == "LevelEditorCreate" ? "LevelNameTextBox" : "LevelNameTextBoxSaveAs",
               "Other");
        if (InDialog("GridWidthTextBox") != nullptr) {
            SetBox("GridWidthTextBox", "20");
            SetBox("GridHeightTextBox", "20");
        }
        Confirm();
        EXPECT_TRUE(DialogOpen());
        EXPECT_EQ(DialogMessage(), LevelNameRule::SaveFailed());
        EXPECT_EQ(Vars().LevelName, "Mine");
        EXPECT_EQ(EditorLevelName, "Mine");
        EXPECT_EQ(Grid().grid.GetWidth(), 30);
        AllClick(-0.4f, -0.4f);
    }

    // No folder at all: the first save makes it.
    ASSERT_EQ(std::remove(levels.c_str()), 0);
    Create("Fresh", "20", "20");
    EXPECT_FALSE(DialogOpen());
    EXPECT_TRUE(LevelCollision::FileExists("Fresh.lvl"));
    EXPECT_EQ(Vars().LevelName, "Fresh");
}

TEST_F(DialogTest, SaveAsMovesTheNameForLaterSavesTestPlayAndReturn) {
    OpenMine();
    Grid().grid.SetCell(6.0f, 3.0f, 104);
    OpenDialog("LevelEditorCreateAs");
    SetBox("LevelNameTextBoxSaveAs", "Copy");
    Confirm();
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(Vars().LevelName, "Copy");
    EXPECT_EQ(EditorLevelName, "Copy");
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Copy.lvl"));
    EXPECT_EQ(saved.GetCell(6, 3), 104);
    ASSERT_TRUE(saved.Load("Mine.lvl"));
    EXPECT_EQ(saved.GetCell(6, 3), 0) << "the old file stays as it was";

    // Save, then Play and the way back, all under the new name.
    Grid().grid.SetCell(7.0f, 3.0f, 2);
    AllClick(-0.72f, 0.32f);
    ASSERT_TRUE(saved.Load("Copy.lvl"));
    EXPECT_EQ(saved.GetCell(7, 3), 2);
    Grid().grid.SetCell(9.0f, 3.0f, 102);
    AllClick(-0.45f, 0.38f);
    for (int i = 0; i < 120 && editor->GetLevelName() != "Sandbox"; ++i) AllFrame();
    EXPECT_EQ(editor->GetLevelName(), "Sandbox");
    State::SetLevel(editor, "LevelEditor");
    AllFrame();
    EXPECT_EQ(Vars().LevelName, "Copy");
    EXPECT_EQ(Grid().grid.GetCell(7, 3), 2);
}

TEST_F(DialogTest, SaveAsRefusesAnotherLevelsFileButSavesTheOpenOne) {
    OpenMine();
    WriteLevel("Taken", 20, 20);
    const auto taken = folder.Read("Taken.lvl");
    Grid().grid.SetCell(5.0f, 5.0f, 3);
    OpenDialog("LevelEditorCreateAs");
    SetBox("LevelNameTextBoxSaveAs", "Taken");
    Confirm();
    EXPECT_TRUE(DialogOpen());
    EXPECT_EQ(DialogMessage(), LevelNameRule::Exists());
    EXPECT_EQ(folder.Read("Taken.lvl"), taken);
    EXPECT_EQ(Vars().LevelName, "Mine");

    SetBox("LevelNameTextBoxSaveAs", "Mine");
    Confirm();
    EXPECT_FALSE(DialogOpen());
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Mine.lvl"));
    EXPECT_EQ(saved.GetCell(5, 5), 3);
}

TEST_F(DialogTest, ResizeStartsWithTheSizeKeepsTheCellsThatFitAndClearsTheHistory) {
    OpenMine();
    Grid().grid.SetCell(3.0f, 2.0f, 7);
    Grid().grid.SetCell(3.0f, 18.0f, 2);
    Grid().grid.PushUndoAction(new Action());
    Grid().grid.PushRedoAction(new Action());
    OpenDialog("LevelEditorResize");
    EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "GridWidthTextBox"), "30");
    EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "GridHeightTextBox"), "20");
    // Out of the range: refused, naming it; nothing changes.
    SetBox("GridWidthTextBox", "40");
    SetBox("GridHeightTextBox", "9");
    Confirm();
    ASSERT_TRUE(DialogOpen());
    EXPECT_EQ(DialogMessage(), "The height must be 16 to 200 cells.");
    EXPECT_EQ(Grid().grid.GetHeight(), 20);
    EXPECT_EQ(Grid().grid.UndoCount(), 1u);

    SetBox("GridHeightTextBox", "16");
    Confirm();
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(Grid().grid.GetWidth(), 40);
    EXPECT_EQ(Grid().grid.GetHeight(), 16);
    EXPECT_EQ(Vars().GridWidth, 40);
    EXPECT_EQ(Vars().GridHeight, 16);
    EXPECT_EQ(Grid().grid.GetCell(3, 2), 7);
    EXPECT_EQ(Grid().grid.GetCell(3, 15), 0);
    EXPECT_EQ(Grid().grid.UndoCount(), 0u);
    EXPECT_EQ(Grid().grid.RedoCount(), 0u);
    EXPECT_EQ(Vars().LevelName, "Mine") << "resize keeps the name and saves nothing";
    EXPECT_EQ(Bar("GSliderH", enum_max), 24.0f);
    EXPECT_EQ(BarTicks("GSliderH"), 25);
    EXPECT_EQ(Bar("GSliderV", enum_max), 7.0f);
    EXPECT_EQ(Bar("GSliderV", enum_value), 7.0f);
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Mine.lvl"));
    EXPECT_EQ(saved.GetHeight(), 20);

    // Typing over the size shown replaces it.
    OpenDialog("LevelEditorResize");
    EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "GridWidthTextBox"), "40");
    Key(SDL_SCANCODE_5, true);
    AllFrame();
    Key(SDL_SCANCODE_5, false);
    Key(SDL_SCANCODE_0, true);
    AllFrame();
    Key(SDL_SCANCODE_0, false);
    AllFrame();
    EXPECT_EQ(EditorDialog::BoxText(dialog->GetLevel(), "GridWidthTextBox"), "50");
    Confirm();
    EXPECT_FALSE(DialogOpen()) << DialogMessage();
    EXPECT_EQ(Grid().grid.GetWidth(), 50);
}

// The start left outside a smaller level comes back inside: the level keeps
// exactly one start.
TEST_F(DialogTest, ResizeBringsAStartLeftOutsideBackIn) {
    OpenMine();
    Grid().grid.SetCell(1.0f, 1.0f, 0);
    Grid().StartPos = {25.0f, 12.0f};
    AllFrame();
    ASSERT_EQ(Grid().grid.GetCell(25, 12), 101);
    OpenDialog("LevelEditorResize");
    SetBox("GridWidthTextBox", "20");
    SetBox("GridHeightTextBox", "16");
    Confirm();
    ASSERT_FALSE(DialogOpen()) << DialogMessage();
    AllFrame();
    int starts = 0;
    for (int i = 0; i < 20 * 16; ++i) starts += Grid().grid.GetCell(i) == 101 ? 1 : 0;
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(Grid().grid.GetCell(19, 12), 101);
    EXPECT_NE(Label("EMessage"), "");
}

// A dialog's message stands where it covers nothing: above every box,
// label, button and list row of its dialog, in every dialog.
TEST_F(DialogTest, MessagesStandAboveEverythingElseInEachDialog) {
    for (int i = 0; i < 30; ++i) WriteLevel("Level " + std::to_string(i), 20, 20);
    OpenEditor();
    for (const char* level : {"LevelEditorCreate", "LevelEditorCreateAs", "LevelEditorResize", "LevelEditorLoad"}) {
        SCOPED_TRACE(level);
        OpenDialog(level);
        EditorDialog::ShowMessage(dialog->GetLevel(), LevelNameRule::Exists());
        AllFrame();
        Entity* message = InDialog("DialogMessage");
        ASSERT_NE(message, nullptr);
        const TextSettings& m = ObjectData::Text::Find(message)->settings;
        const float below = m.y - m.height / 2.0f;
        EXPECT_LE(m.y + m.height / 2.0f, 0.5f) << "inside the window";
        for (Object* o : dialog->Objects()) {
            if (o->_Deleted() || o == message || o->GetName() == "Cursor") continue;
            float top = -1.0f;
            if (const auto* t = ObjectData::Text::Find(o)) {
                if (t->text.empty()) continue;
                top = t->settings.y + std::max(t->settings.height, t->settings.charHeight) / 2.0f;
            } else if (const auto* p = FindVariable<D3DXVECTOR3>(o, enum_position)) {
                const auto* size = FindVariable<D3DXVECTOR2>(o, enum_size);
                if (size == nullptr || size->y <= 0.0f || size->y >= 1.0f) continue;
                top = p->y + size->y / 2.0f;
            } else {
                continue;
            }
            EXPECT_LE(top, below + 0.001f)
                << o->GetType() << " \"" << o->GetName() << "\" reaches " << top << ", the message down to " << below;
        }
        AllClick(std::string(level) == "LevelEditorLoad" ? 0.2f : -0.4f,
                 std::string(level) == "LevelEditorLoad" ? -0.45f : -0.4f);
        ASSERT_FALSE(DialogOpen());
    }
}

TEST_F(DialogTest, CancelClosesEachDialogAndChangesNothing) {
    OpenMine();
    Grid().grid.SetCell(2.0f, 2.0f, 1);
    const auto before = Tree();
    for (const char* level : {"LevelEditorCreate", "LevelEditorCreateAs", "LevelEditorResize", "LevelEditorLoad"}) {
        SCOPED_TRACE(level);
        OpenDialog(level);
        const bool open = std::string(level) == "LevelEditorLoad";
        AllClick(open ? 0.2f : -0.4f, open ? -0.45f : -0.4f);
        EXPECT_FALSE(DialogOpen());
        EXPECT_EQ(Vars().LevelName, "Mine");
        EXPECT_EQ(Grid().grid.GetWidth(), 30);
        EXPECT_EQ(Grid().grid.GetCell(2, 2), 1);
        EXPECT_EQ(Tree(), before);
    }
}

TEST_F(DialogTest, EachDialogsTabOrderIsItsCreationOrder) {
    OpenEditor();
    const std::pair<const char*, std::vector<std::string>> orders[] = {
        {"LevelEditorCreate",
         {"LevelNameTextBox", "GridWidthTextBox", "GridHeightTextBox", "loadButton", "cancelButton"}},
        {"LevelEditorCreateAs", {"LevelNameTextBoxSaveAs", "loadButton", "cancelButton"}},
        {"LevelEditorResize", {"GridWidthTextBox", "GridHeightTextBox", "loadButton", "cancelButton"}},
        {"LevelEditorLoad", {"loadButton", "cancelButton"}},
    };
    for (const auto& [level, order] : orders) {
        SCOPED_TRACE(level);
        OpenDialog(level);
        EXPECT_EQ(TabOrder(), order);
        auto* tabs = ObjectData::TabManager::Find(InDialog("TabManager"));
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->Focused(), tabs->objectList.front()) << "the first entry has the focus";
        State::SetLevel(dialog, "Quit");
        AllFrame();
    }
}

TEST_F(DialogTest, LeavingTheEditorClosesItsDialogsAndAConfirmAfterOnlyCloses) {
    OpenMine();
    // The editor leaves (as Play leaves it) while the create dialog is open:
    // the dialog closes with it.
    OpenDialog("LevelEditorCreate");
    SetBox("LevelNameTextBox", "Late");
    SetBox("GridWidthTextBox", "20");
    SetBox("GridHeightTextBox", "20");
    AllFrame();
    State::SetLevel(editor, "Sandbox");
    AllFrame();
    EXPECT_EQ(editor->GetLevelName(), "Sandbox");
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(LevelCollision::FileExists("Late.lvl"));

    // A confirm in the frame in which the editor is asked to leave: the
    // dialog only closes.
    State::SetLevel(editor, "LevelEditor");
    AllFrame();
    for (const char* level : {"LevelEditorCreate", "LevelEditorCreateAs", "LevelEditorResize"}) {
        SCOPED_TRACE(level);
        OpenDialog(level);
        for (const char* box : {"LevelNameTextBox", "LevelNameTextBoxSaveAs"})
            if (InDialog(box) != nullptr) SetBox(box, "Late");
        for (const char* box : {"GridWidthTextBox", "GridHeightTextBox"})
            if (InDialog(box) != nullptr) SetBox(box, "50");
        AllFrame();
        PointAt(0.4f, -0.4f);
        AllFrame();
        State::SetLevel(editor, "Sandbox");
        LeftButton(true);
        AllFrame();
        LeftButton(false);
        AllFrame();
        EXPECT_FALSE(DialogOpen());
        EXPECT_FALSE(LevelCollision::FileExists("Late.lvl"));
        EXPECT_EQ(EditorLevelName, "Mine");
        State::SetLevel(editor, "LevelEditor");
        AllFrame();
        EXPECT_EQ(Grid().grid.GetWidth(), 30);
    }
}

}  // namespace
