// The four editor dialogs drawn through the real renderer with the baked
// sheets, each at its window's size, read back as pixels: the backdrop,
// the labels, the text boxes, the two buttons, and the open dialog's list
// with its highlight bar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "editor/EditorDialog.h"
#include "editor/EditorWorld.h"
#include "editor/OpenLevelList.h"
#include "objects/SheetRenderWorld.h"
#include "support/PixelFrame.h"
#include "widgets/SingleLineTextBox.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

using namespace objtest;

namespace {

using testsupport::Rgb;

class DialogPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
        editortest::InstallEditorTypes();
        savedArea = GraphicsEngine::currentGameArea;
    }
    void TearDown() override {
        GraphicsEngine::currentGameArea = savedArea;
        SheetRenderWorld::TearDown();
    }
    // The game area of the dialog's window, which the dialog lays itself out for.
    static GameArea DialogArea() {
        return GameArea{0, 0, areaWidth, areaHeight, static_cast<float>(areaWidth) / static_cast<float>(areaHeight),
                        areaHeight};
    }

    // Opens the dialog level in a state of its own, drawn into frames of
    // width by height pixels.
    void Open(const char* level, int width, int height) {
        name = level;
        areaWidth = width;
        areaHeight = height;
        GraphicsEngine::currentGameArea = &DialogArea;
        dialog = NewState(level);
        ASSERT_NE(dialog, nullptr);
        target.Release();
        target.width = w = width;
        target.height = h = height;
        target.Refresh();
        aspect = static_cast<float>(width) / static_cast<float>(height);
    }
    // Draws everything the dialog holds into one frame and reads it back.
    void Draw() {
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        State* remembered = State::_currentState;
        State::_currentState = dialog;
        for (Object* object : dialog->Objects())
            if (!object->_Deleted()) object->DoEvent("GraphicsDraw");
        State::_currentState = remembered;
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        engine->DrawAll();
        pixels.assign(static_cast<std::size_t>(w * h * 4), 0);
        ASSERT_TRUE(GraphicsEngine::ReadPixels(target, pixels.data()));
        if (std::getenv("GF_EDITOR_PICTURES") != nullptr) {
            const std::string path = "/tmp/dialog_" + name + ".png";
            stbi_write_png(path.c_str(), w, h, 4, pixels.data(), w * 4);
        }
    }

    // The frame at the window's size: one unit high about its centre.
    testsupport::PixelFrame Frame() const { return {pixels, w, h}; }
    Rgb At(float x, float y) const { return Frame().At(x, y); }
    // A box of (w, h) about (x, y) holds some pixels that pass test.
    bool Has(float x, float y, float bw, float bh, const std::function<bool(const Rgb&)>& test) const {
        return Frame().Count(x - bw / 2, y + bh / 2, x + bw / 2, y - bh / 2, test) > 3;
    }

    static bool Ink(const Rgb& c) { return c.r + c.g + c.b < 420; }
    static bool White(const Rgb& c) { return c.r > 235 && c.g > 235 && c.b > 235; }
    static bool Pale(const Rgb& c) { return c.r > 150 && c.b > 180 && c.b >= c.r; }
    static bool Yellow(const Rgb& c) { return c.r > 110 && c.g > 110 && c.b < c.r - 40; }
    static bool Navy(const Rgb& c) { return c.b > c.r + 20 && c.r < 80; }

    // The text boxes of the dialog: white, with no ink where nothing is typed.
    void ExpectBox(const char* name) {
        auto* box = ObjectData::SingleLineTextBox::Find(dialog->GetLevel()->GetMyObject(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_TRUE(White(At(box->position.x, box->position.y))) << name;
    }
    // A button's plate is pale, and its word dark.
    void ExpectButton(float x, float y, float bw, float bh) {
        EXPECT_TRUE(Has(x, y, bw * 0.9f, bh * 0.6f, &Pale)) << x << ", " << y;
        EXPECT_TRUE(Has(x, y, bw * 0.6f, bh * 0.6f, &Ink)) << x << ", " << y;
    }

    static inline int areaWidth = 0, areaHeight = 0;
    GameArea (*savedArea)() = nullptr;
    Object* camera = nullptr;
    State* dialog = nullptr;
    std::string name;
    TempUserFolder folder;
    int w = kWidth, h = kHeight;
};

TEST_F(DialogPixelTest, CreateShowsItsLabelsBoxesAndButtons) {
    Open("LevelEditorCreate", 400, 225);
    Draw();
    EXPECT_TRUE(Pale(At(-0.85f, 0.0f))) << "the backdrop";
    for (const char* box : {"LevelNameTextBox", "GridWidthTextBox", "GridHeightTextBox"}) ExpectBox(box);
    EXPECT_TRUE(Has(-0.35f, 0.3f, 0.4f, 0.1f, &Ink)) << "Level Name:";
    EXPECT_TRUE(Has(-0.5f, -0.05f, 0.2f, 0.1f, &Ink)) << "Width:";
    EXPECT_TRUE(Has(0.4f, -0.05f, 0.2f, 0.1f, &Ink)) << "Height:";
    ExpectButton(0.4f, -0.4f, 0.54f, 0.17f);
    ExpectButton(-0.4f, -0.4f, 0.54f, 0.17f);
}

TEST_F(DialogPixelTest, SaveAsShowsItsLabelBoxAndButtons) {
    Open("LevelEditorCreateAs", 400, 250);
    Draw();
    EXPECT_TRUE(Pale(At(-0.75f, 0.0f)));
    ExpectBox("LevelNameTextBoxSaveAs");
    EXPECT_TRUE(Has(-0.3f, 0.2f, 0.5f, 0.1f, &Ink)) << "New Level Name:";
    ExpectButton(0.4f, -0.4f, 0.54f, 0.17f);
    ExpectButton(-0.4f, -0.4f, 0.54f, 0.17f);
}

TEST_F(DialogPixelTest, ResizeShowsItsLabelsBoxesAndButtons) {
    Open("LevelEditorResize", 400, 250);
    Draw();
    ExpectBox("GridWidthTextBox");
    ExpectBox("GridHeightTextBox");
    EXPECT_TRUE(Has(0.2f, 0.15f, 0.6f, 0.08f, &Ink)) << "New Width: (16 - 200)";
    EXPECT_TRUE(Has(0.2f, -0.2f, 0.6f, 0.08f, &Ink)) << "New Height: (16 - 200)";
    ExpectButton(0.4f, -0.4f, 0.54f, 0.17f);
    ExpectButton(-0.4f, -0.4f, 0.54f, 0.17f);
}

TEST_F(DialogPixelTest, OpenShowsTheListWithTheChosenRowMarked) {
    for (const char* level : {"First", "Second", "Third"}) editortest::WriteLevel(level, 20, 20);
    Open("LevelEditorLoad", 800, 600);
    auto* list = ObjectData::OpenLevelList::Find(dialog->GetLevel()->GetMyObject("LevelListScreen"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->levelNames.size(), 3u);
    list->clickedLevel = list->levelNames[1];
    Draw();
    const float row = list->size.y / 40.0f;
    const float top = list->position.y + list->size.y / 2.0f;
    EXPECT_TRUE(Navy(At(list->position.x, list->position.y - list->size.y * 0.3f))) << "the list's plate";
    EXPECT_TRUE(Has(list->position.x, top - 1.5f * row, list->size.x * 0.8f, row * 0.6f, &Yellow)) << "the bar on row 1";
    EXPECT_FALSE(Has(list->position.x, top - 0.5f * row, list->size.x * 0.8f, row * 0.4f, &Yellow)) << "row 0 unmarked";
    // The entries' names: light letters on the plate in the first three rows.
    EXPECT_GT(Frame().Count(list->position.x - list->size.x / 2, top, list->position.x, top - row,
                    [](const Rgb& c) { return c.r > 180 && c.g > 180; }),
              3);
    ExpectButton(-0.15f, -0.45f, 0.3f, 0.1f);
    ExpectButton(0.2f, -0.45f, 0.3f, 0.1f);
}

}  // namespace
