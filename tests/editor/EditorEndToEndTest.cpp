// The editor used end to end through the input layer, with events fed as
// the window thread feeds them: from the main menu into the editor, a pick
// in the palette, the zoom, Save, and Play into the test-play screen and
// back.
#include <gtest/gtest.h>

#include "editor/EditorWorld.h"
#include "widgets/TextButton.h"

using namespace editortest;

namespace {

class EditorEndToEndTest : public EditorWorld {
protected:
    void SetUp() override {
        EditorWorld::SetUp();
        StandInTestPlay();
    }

    // The main menu's button captioned "Level Editor", or null.
    Object* LevelEditorButton() const {
        for (Object* object : editor->Objects()) {
            auto* button = object->_Deleted() ? nullptr : FindVariable<Object*>(object, enum_textObj);
            if (button == nullptr || object->GetType() != "TextButton") continue;
            if (auto* caption = ObjectData::Text::Find(*button);
                caption && caption->text.find("Level Editor") != std::string::npos)
                return object;
        }
        return nullptr;
    }
};

TEST_F(EditorEndToEndTest, FromTheMainMenuThroughAnEditToATestPlayAndBack) {
    if (Level::_IsRegistered("MainMenu")) {
        editor = NewState("MainMenu");
        EditorFrames(3);
        Object* button = LevelEditorButton();
        ASSERT_NE(button, nullptr) << "no \"Level Editor\" button on the main menu";
        const D3DXVECTOR3 at = *FindVariable<D3DXVECTOR3>(button, enum_position);
        Click(at.x, at.y);
        ASSERT_TRUE(EditorFramesUntil("LevelEditor", 600)) << "now on " << editor->GetLevelName();
    } else {
        // Without the main menu, the switch its button makes.
        editor = NewState("LevelEditor");
        EditorFrame();
    }
    EXPECT_EQ(Vars().LevelName, "Default");
    EXPECT_EQ(Grid().grid.GetWidth(), 20);

    // The "Objects" tab, then the spring.
    Click(-0.5f, 0.205f);
    Click(-0.6f, 0.02f);
    EXPECT_EQ(Vars().SelectedValue, 104);
    EXPECT_EQ(Label("ObjectText"), "Spring");

    // The zoom button cycles.
    for (int zoom : {2, 4, 1}) {
        Click(-0.72f, -0.3f);
        EXPECT_EQ(Vars().ZoomScale, zoom);
    }

    // Save writes the file.
    Grid().grid.SetCell(6.0f, 3.0f, 104);
    Click(-0.72f, 0.32f);
    LevelCollision saved;
    ASSERT_TRUE(saved.Load("Default.lvl"));
    EXPECT_EQ(saved.GetCell(6, 3), 104);

    // Play saves, hands the grid over cell for cell and fades out to the test play.
    Grid().grid.SetCell(7.0f, 3.0f, 2);
    Grid().grid.SetCell(9.0f, 3.0f, 102);
    const LevelCollision edited = Grid().grid;
    Click(-0.45f, 0.38f);
    EXPECT_EQ(Label("EMessage"), "Saved Default.");
    ASSERT_TRUE(EditorFramesUntil("Sandbox", 120));
    ASSERT_TRUE(saved.Load("Default.lvl"));
    EXPECT_EQ(saved.GetCell(7, 3), 2);
    const LevelCollision& played = GameVars().basicLevel;
    ASSERT_EQ(played.GetWidth() * played.GetHeight(), edited.GetWidth() * edited.GetHeight());
    for (int i = 0; i < edited.GetWidth() * edited.GetHeight(); ++i) ASSERT_EQ(played.GetCell(i), edited.GetCell(i));

    // The test play's way back reopens the editor on the same level.
    State::SetLevel(editor, "LevelEditor");
    ASSERT_TRUE(EditorFramesUntil("LevelEditor", 120));
    EXPECT_EQ(Vars().LevelName, "Default");
    EXPECT_EQ(Grid().grid.GetCell(7, 3), 2);
}

}  // namespace
