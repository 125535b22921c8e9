// The program under a window manager (openbox), in a window (F4).
#include <gtest/gtest.h>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

bool IsMenu(const Picture& s, const Box& p) { return GameOnDesktop::MainMenuButtons(s, p).size() == 7; }
bool IsOptions(const Picture& s, const Box& p) { return GameOnDesktop::SliderKnobs(s, p).size() == 2; }

// The window manager moves the window; a click lands where the button is
// drawn at the window's new place, and the window manager's close ends the
// program as the window's own close button does.
TEST(WindowManager, AfterTheWindowManagerMovesTheWindowClicksLandWhereItIsDrawn) {
    DesktopSession session({1920, 1080, true});
    ASSERT_TRUE(session.Ready());
    ProgramRun* run = session.StartProgram(session.NewHome());
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);

    std::optional<GameOnDesktop::Seen> licence = game.WaitForLicence();
    ASSERT_TRUE(licence);
    // F4: out of full screen into a window smaller than the screen.
    session.MovePointer(licence->picture.CentreX(), licence->picture.CentreY());
    session.Key("F4");
    licence = game.WaitFor(
        [&](const Picture& s, const Box& p) {
            const std::optional<TopWindow> w = game.TopWindowNow();
            return w && w->box.width < session.Width() && GameOnDesktop::IsLicence(s, p);
        },
        "licence-in-a-window");
    ASSERT_TRUE(licence);
    session.Keep(licence->screen, "licence-in-a-window");

    std::optional<GameOnDesktop::Seen> menu = game.AcceptAndReachMainMenu();
    ASSERT_TRUE(menu);
    const std::optional<TopWindow> window = game.TopWindowNow();
    ASSERT_TRUE(window);
    session.Keep(menu->screen, "main-menu-before-the-move");

    // Moved by (300, 200) the way a person moves it: Alt and a drag.
    session.DragWithWindowManager(*window, 300, 200);
    const Box before = menu->picture;
    menu = game.WaitFor(
        [&](const Picture& s, const Box& p) {
            return std::abs(p.left - (before.left + 300)) <= 2 && std::abs(p.top - (before.top + 200)) <= 2 &&
                   IsMenu(s, p);
        },
        "main-menu-moved");
    ASSERT_TRUE(menu);
    session.Keep(menu->screen, "main-menu-moved");

    const std::vector<Box> buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
    std::optional<GameOnDesktop::Seen> options = game.ClickUntil(buttons[5], &IsOptions, &IsMenu, "options");
    ASSERT_TRUE(options);
    session.Keep(options->screen, "options");

    const std::optional<TopWindow> moved = game.TopWindowNow();
    ASSERT_TRUE(moved);
    session.AskToClose(*moved);
    const std::optional<int> status = run->process.WaitExit();
    ASSERT_TRUE(status) << "the window manager's close did not end the program";
    EXPECT_EQ(*status, 0) << run->ErrorText();
    EXPECT_FALSE(run->SanitizerReported()) << run->ErrorText();
    EXPECT_TRUE(SaveFileWhole(run->SaveFile()));
}

}  // namespace
}  // namespace desktop
