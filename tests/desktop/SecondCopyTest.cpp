// Two copies of the program on one data folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

bool IsMenu(const Picture& s, const Box& p) { return GameOnDesktop::MainMenuButtons(s, p).size() == 7; }
bool IsOptions(const Picture& s, const Box& p) { return GameOnDesktop::SliderKnobs(s, p).size() == 2; }
bool IsConfirm(const Picture& s, const Box& p) { return GameOnDesktop::ConfirmButtons(s, p).size() == 2; }

struct FileStamp {
    ino_t inode = 0;
    timespec changed{};
    off_t size = 0;
    bool operator==(const FileStamp& o) const {
        return inode == o.inode && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec &&
               size == o.size;
    }
};

FileStamp Stamp(const std::string& path) {
    struct stat st {};
    FileStamp stamp;
    if (::stat(path.c_str(), &st) != 0) return stamp;
    stamp.inode = st.st_ino;
    stamp.changed = st.st_mtim;
    stamp.size = st.st_size;
    return stamp;
}

// A second copy started on the same home says so in a message box and ends
// without touching the save file; the first copy goes on, and what it
// changes afterwards is what its own quit saves.
TEST(SecondCopy, SaysTheProgramIsRunningAndLeavesTheFirstCopysSettingsAlone) {
    DesktopSession session({1280, 720, false});
    ASSERT_TRUE(session.Ready());
    const std::string home = session.NewHome();
    ProgramRun* first = session.StartProgram(home);
    ASSERT_NE(first, nullptr);
    GameOnDesktop game(session, *first);
    std::optional<GameOnDesktop::Seen> menu = game.AcceptAndReachMainMenu();
    ASSERT_TRUE(menu);
    const FileStamp saved = Stamp(first->SaveFile());
    ASSERT_NE(saved.inode, 0u) << "the licence's Accept saves the settings";
    const std::string savedText = ReadFile(first->SaveFile());

    ProgramRun* second = session.StartProgram(home);
    ASSERT_NE(second, nullptr);
    const std::optional<TopWindow> box = session.WaitForWindow(
        [](const TopWindow& w) { return w.viewable && w.name == "Glimmerfall"; }, "already-running-message");
    ASSERT_TRUE(box);
    EXPECT_NE(second->ErrorText().find("Glimmerfall is already running."), std::string::npos) << second->ErrorText();
    // The message is read and put away with its button, found where the box
    // draws it: the one patch of the button's grey below the text.
    std::optional<Box> ok;
    const std::optional<Picture> shown = session.WaitForScreen(
        [&](const Picture& grab) {
            const Box lower = box->box.Within(0.0, 0.5, 1.0, 1.0);
            for (const auto& region : grab.Regions(ExactColour(Rgb{105, 102, 99}), lower, 200)) ok = region.box;
            return ok.has_value();
        },
        "already-running-message");
    ASSERT_TRUE(shown);
    session.Keep(*shown, "already-running-message");
    session.Click(ok->CentreX(), ok->CentreY());
    std::optional<int> status = second->process.WaitExit();
    ASSERT_TRUE(status) << "the second copy did not end after its message";
    EXPECT_NE(*status, 0);
    EXPECT_FALSE(second->SanitizerReported()) << second->ErrorText();
    EXPECT_TRUE(Stamp(first->SaveFile()) == saved) << "the second copy wrote the save file";
    EXPECT_EQ(ReadFile(first->SaveFile()), savedText);

    // The first copy: its music slider to the right, then Quit.
    std::vector<Box> buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
    std::optional<GameOnDesktop::Seen> options = game.ClickUntil(buttons[5], &IsOptions, &IsMenu, "options");
    ASSERT_TRUE(options);
    const Box knob = GameOnDesktop::SliderKnobs(options->screen, options->picture)[0];
    const int dx = options->picture.width / 5;
    session.MovePointer(knob.CentreX(), knob.CentreY());
    session.ButtonDown();
    session.MovePointerAlong({{knob.CentreX() + dx / 2, knob.CentreY()}, {knob.CentreX() + dx, knob.CentreY()}});
    const bool moved = game.WaitFor(
                               [&](const Picture& s, const Box& p) {
                                   const std::vector<Box> knobs = GameOnDesktop::SliderKnobs(s, p);
                                   return knobs.size() == 2 && knobs[0].CentreX() > knob.CentreX() + dx / 2;
                               },
                               "knob-moved")
                           .has_value();
    session.ButtonUp();
    ASSERT_TRUE(moved);
    session.Key("Escape");
    menu = game.WaitForMainMenu();
    ASSERT_TRUE(menu);
    buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
    std::optional<GameOnDesktop::Seen> confirm = game.ClickUntil(buttons[6], &IsConfirm, &IsMenu, "quit-confirmation");
    ASSERT_TRUE(confirm);
    const Box quit = GameOnDesktop::ConfirmButtons(confirm->screen, confirm->picture)[0];
    session.Click(quit.CentreX(), quit.CentreY());
    status = first->process.WaitExit();
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0) << first->ErrorText();
    const std::optional<float> music = SavedMusicVolume(first->SaveFile());
    ASSERT_TRUE(music);
    EXPECT_GT(*music, 0.6f) << "the first copy's own change was not saved";
}

}  // namespace
}  // namespace desktop
