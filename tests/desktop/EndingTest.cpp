// The ways a desktop ends a program or asks it to end, with no window
// manager: a close request, a window destroyed from outside, the
// connection to the display killed (as xkill does).
#include <gtest/gtest.h>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

// A close request for the licence window does what its drawn close button
// does: the quit dialog opens, above the licence, and its Quit ends the
// program.
TEST(Ending, ACloseRequestForTheLicenceOpensTheQuitDialogAboveIt) {
    DesktopSession session({1280, 720, false});
    ASSERT_TRUE(session.Ready());
    ProgramRun* run = session.StartProgram(session.NewHome());
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);
    std::optional<GameOnDesktop::Seen> licence = game.WaitForLicence();
    ASSERT_TRUE(licence);
    const std::optional<TopWindow> window = game.TopWindowNow();
    ASSERT_TRUE(window);

    session.AskToClose(*window);
    std::optional<GameOnDesktop::Seen> dialog = game.WaitFor(
        [&](const Picture& s, const Box& p) {
            const std::optional<TopWindow> top = game.TopWindowNow();
            return top && top->id != window->id && GameOnDesktop::ConfirmButtons(s, p).size() == 2;
        },
        "quit-dialog");
    ASSERT_TRUE(dialog);
    session.Keep(dialog->screen, "quit-dialog");
    // Above the licence on the screen too: its picture is not the licence's.
    EXPECT_GT(dialog->screen.Difference(licence->screen, dialog->picture), 20.0);

    const Box quit = GameOnDesktop::ConfirmButtons(dialog->screen, dialog->picture)[0];
    session.Click(quit.CentreX(), quit.CentreY());
    const std::optional<int> status = run->process.WaitExit();
    ASSERT_TRUE(status) << "the quit dialog's Quit did not end the program";
    EXPECT_EQ(*status, 0) << run->ErrorText();
    EXPECT_FALSE(run->SanitizerReported()) << run->ErrorText();
    EXPECT_TRUE(SaveFileWhole(run->SaveFile()));
}

// The licence window destroyed from outside (xdotool windowclose): the
// program cannot show anything any more and ends as a quit does.
TEST(Ending, TheLicenceWindowDestroyedFromOutsideEndsTheProgramAsAQuitDoes) {
    DesktopSession session({1280, 720, false});
    ASSERT_TRUE(session.Ready());
    ProgramRun* run = session.StartProgram(session.NewHome());
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);
    ASSERT_TRUE(game.WaitForLicence());
    const std::optional<TopWindow> window = game.TopWindowNow();
    ASSERT_TRUE(window);

    session.DestroyWindow(*window);
    const std::optional<int> status = run->process.WaitExit();
    ASSERT_TRUE(status) << "the program still runs without its window";
    EXPECT_EQ(*status, 0) << run->ErrorText();
    EXPECT_FALSE(run->SanitizerReported()) << run->ErrorText();
    EXPECT_NE(run->ErrorText().find("destroyed from outside"), std::string::npos) << run->ErrorText();
    EXPECT_TRUE(SaveFileWhole(run->SaveFile()));
}

// The connection to the display killed on the main menu: the program ends by
// itself, without a crash, says why, and the save file is whole. (The end is
// awaited within the harness's bound, not a few seconds: the sanitized
// program's way out takes its time on a loaded machine.)
TEST(Ending, TheDisplayConnectionKilledOnTheMainMenuEndsTheProgramCleanly) {
    DesktopSession session({1280, 720, false});
    ASSERT_TRUE(session.Ready());
    ProgramRun* run = session.StartProgram(session.NewHome());
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);
    ASSERT_TRUE(game.AcceptAndReachMainMenu());
    const std::optional<TopWindow> window = game.TopWindowNow();
    ASSERT_TRUE(window);

    session.KillConnection(*window);
    const std::optional<int> status = run->process.WaitExit();
    ASSERT_TRUE(status) << "the program still runs without its display";
    EXPECT_LT(*status, 128) << "ended by a signal: " << run->ErrorText();
    EXPECT_FALSE(run->SanitizerReported()) << run->ErrorText();
    EXPECT_NE(run->ErrorText().find("connection to the display was lost"), std::string::npos) << run->ErrorText();
    EXPECT_TRUE(SaveFileWhole(run->SaveFile())) << ReadFile(run->SaveFile());
}

}  // namespace
}  // namespace desktop
