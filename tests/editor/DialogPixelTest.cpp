// The four editor dialogs drawn through the real renderer with the baked
// sheets, each at its window's size, read back as pixels: the backdrop,
// the labels, the text boxes, the two buttons, and the open dialog's list
// with its highlight bar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "editor/EditorDialog.h"
#include "editor/LevelNameRule.h"
#include "editor/OpenLevelList.h"
#include "support/ScreenPixelWorld.h"
#include "widgets/SingleLineTextBox.h"

using editortest::Rgb;

namespace {

// Each dialog at its window's size, with the longest message it can show.
const std::string kLongName = "The Long Winding Road Through the Misty Mountains of the North 1";
const struct {
    const char* level;
    int width, height;
    std::string message;
} kDialogs[] = {
    {"LevelEditorCreate", 400, 225, LevelNameRule::Exists()},
    {"LevelEditorCreateAs", 400, 250, LevelNameRule::SaveFailed()},
    {"LevelEditorResize", 400, 250, "The width and the height must be 16 to 200 cells."},
    {"LevelEditorLoad", 800, 600, "Could not open " + kLongName + ".lvl: it is gone or not a level file."},
};

class DialogPixelTest : public editortest::ScreenPixelWorld {
protected:
    DialogPixelTest() : ScreenPixelWorld("dialog") {}

    static bool Ink(const Rgb& c) { return c.r + c.g + c.b < 420; }
    static bool White(const Rgb& c) { return c.r > 235 && c.g > 235 && c.b > 235; }
    static bool Pale(const Rgb& c) { return c.r > 150 && c.b > 180 && c.b >= c.r; }
    static bool Yellow(const Rgb& c) { return c.r > 110 && c.g > 110 && c.b < c.r - 40; }
    static bool Navy(const Rgb& c) { return c.b > c.r + 20 && c.r < 80; }

    // The text boxes of the dialog: white, with no ink where nothing is typed.
    void ExpectBox(const char* name) {
        auto* box = ObjectData::SingleLineTextBox::Find(screen->GetLevel()->GetMyObject(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_TRUE(White(At(box->position.x, box->position.y))) << name;
    }
    // A button's plate is pale, and its word dark.
    void ExpectButton(float x, float y, float bw, float bh) {
        EXPECT_TRUE(Has(x, y, bw * 0.9f, bh * 0.6f, &Pale)) << x << ", " << y;
        EXPECT_TRUE(Has(x, y, bw * 0.6f, bh * 0.6f, &Ink)) << x << ", " << y;
    }

    TempUserFolder folder;
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
    for (const char* level : {"First", "Second", "summer caves"}) editortest::WriteLevel(level, 20, 20);
    Open("LevelEditorLoad", 800, 600);
    auto* list = ObjectData::OpenLevelList::Find(screen->GetLevel()->GetMyObject("LevelListScreen"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->levelNames.size(), 3u);
    list->clickedLevel = list->levelNames[1];
    Draw();
    const float row = list->size.y / static_cast<float>(ObjectData::OpenLevelList::Rows(*list));
    const float top = list->position.y + list->size.y / 2.0f;
    EXPECT_TRUE(Navy(At(list->position.x, list->position.y - list->size.y * 0.3f))) << "the list's plate";
    EXPECT_TRUE(Has(list->position.x, top - 1.5f * row, list->size.x * 0.8f, row * 0.6f, &Yellow))
        << "the bar on row 1";
    EXPECT_FALSE(Has(list->position.x, top - 0.5f * row, list->size.x * 0.8f, row * 0.4f, &Yellow)) << "row 0 unmarked";
    // The entries' names: light letters on the plate in the first rows,
    // as tall as the dialogs' other words (more than 12 pixels of the 600),
    // in the interface's plain letters: a name of small letters only stands
    // 11 pixels or more with strokes of some weight, where the script's
    // small letters stand 10 and are thin.
    auto light = [](const Rgb& c) { return c.r > 180 && c.g > 180; };
    const float left = list->position.x - list->size.x / 2;
    EXPECT_GT(Frame().Count(left, top, list->position.x, top - row, light), 3);
    auto lettersTall = [&](int k) {
        const float pixel = 1.0f / 600.0f, rowTop = top - static_cast<float>(k) * row;
        int tall = 0;
        for (float y = rowTop; y > rowTop - row; y -= pixel)
            tall += Frame().Count(left, y, list->position.x, y - pixel, light) > 0;
        return tall;
    };
    EXPECT_GT(lettersTall(0), 12) << "pixel rows of the first name's letters";
    EXPECT_GE(lettersTall(2), 11) << "pixel rows of the small letters of " << list->levelNames[2];
    EXPECT_GT(Frame().Count(left, top - 2.0f * row, list->position.x, top - 3.0f * row, light), 250)
        << "light pixels of the letters of " << list->levelNames[2];
    ExpectButton(-0.15f, -0.45f, 0.3f, 0.1f);
    ExpectButton(0.2f, -0.45f, 0.3f, 0.1f);
}

// Each dialog's message, the longest it shows, reads at a glance: plain
// letters tall enough for the window, dark on the light backdrop. It covers
// nothing else the dialog draws: every pixel its letters change showed the
// bare backdrop before (the open dialog's list full of names, its first row
// in sight and clickable).
TEST_F(DialogPixelTest, EachDialogsMessageReadsAtAGlanceAndCoversNothingElse) {
    for (int i = 0; i < 30; ++i) editortest::WriteLevel("Level " + std::to_string(i), 20, 20);
    for (const auto& d : kDialogs) {
        SCOPED_TRACE(d.level);
        Open(d.level, d.width, d.height);
        // The pointer, which goes wherever the hand does, is left out.
        Draw("", 0, [](Object* o) { return o->GetType() == "Background"; });
        const std::vector<std::uint8_t> backdrop = pixels;
        const auto notPointer = [](Object* o) { return o->GetName() != "Cursor"; };
        Draw("", 0, notPointer);
        const std::vector<std::uint8_t> dialog = pixels;
        EditorDialog::ShowMessage(screen->GetLevel(), d.message);
        Draw(std::string(d.level) + "_message", 0, notPointer);

        const float pixel = 1.0f / static_cast<float>(d.height), right = aspect / 2.0f;
        const float bottom = 0.5f - 40.0f * pixel;
        EXPECT_GT(Frame().Contrast(-right, 0.5f, right, bottom), 7.0);
        EXPECT_GE(Frame().RowsDarkerThan(-right, 0.5f, right, bottom, 0.1), 11) << "letters at least 11 pixels tall";

        auto apart = [](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, std::size_t i) {
            return std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]) > 24;
        };
        int letters = 0, covering = 0;
        for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
            if (!apart(pixels, dialog, i)) continue;
            ++letters;
            covering += apart(dialog, backdrop, i) ? 1 : 0;
        }
        EXPECT_GT(letters, 300) << "the message is drawn";
        EXPECT_EQ(covering, 0) << "of " << letters << " pixels of the message's letters";
    }
}

}  // namespace
