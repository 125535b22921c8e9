// The player's choice of windowed play, kept from one run of the program to
// the next on the same home, on a desktop with no window manager.
#include <gtest/gtest.h>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

bool IsMenu(const Picture& s, const Box& p) { return GameOnDesktop::MainMenuButtons(s, p).size() == 7; }
bool IsConfirm(const Picture& s, const Box& p) { return GameOnDesktop::ConfirmButtons(s, p).size() == 2; }

// Whether the program's window and its picture lie inside the screen without
// filling it, as a window does and full screen does not.
bool InAWindow(GameOnDesktop& game, const Picture& screen, const Box& picture) {
    const std::optional<TopWindow> window = game.TopWindowNow();
    return window && window->box.width < screen.Width() && window->box.height < screen.Height() && !picture.Empty() &&
           picture.width < screen.Width() && picture.height < screen.Height();
}

// F4 on the main menu, then Quit and its confirmation: the next start on the
// same home shows the licence in a window, not over the whole screen as the
// first start did.
TEST(WindowChoice, WindowedPlayChosenWithF4IsKeptForTheNextStart) {
    DesktopSession session({1280, 720, false});
    ASSERT_TRUE(session.Ready());
    const std::string home = session.NewHome();

    ProgramRun* first = session.StartProgram(home);
    ASSERT_NE(first, nullptr);
    GameOnDesktop game(session, *first);
    std::optional<GameOnDesktop::Seen> licence = game.WaitForLicence();
    ASSERT_TRUE(licence);
    session.Keep(licence->screen, "first-licence");
    EXPECT_GE(licence->picture.width, session.Width() - 2)
        << "a fresh start is not full screen " << Describe(licence->picture);
    std::optional<GameOnDesktop::Seen> menu = game.AcceptAndReachMainMenu();
    ASSERT_TRUE(menu);

    session.MovePointer(menu->picture.CentreX(), menu->picture.CentreY());
    session.Key("F4");
    menu = game.WaitFor([&](const Picture& s, const Box& p) { return InAWindow(game, s, p) && IsMenu(s, p); },
                        "main-menu-in-a-window");
    ASSERT_TRUE(menu);
    session.Keep(menu->screen, "main-menu-in-a-window");

    const std::vector<Box> buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
    std::optional<GameOnDesktop::Seen> confirm = game.ClickUntil(buttons[6], &IsConfirm, &IsMenu, "quit-confirmation");
    ASSERT_TRUE(confirm);
    const Box quit = GameOnDesktop::ConfirmButtons(confirm->screen, confirm->picture)[0];
    session.Click(quit.CentreX(), quit.CentreY());
    std::optional<int> status = first->process.WaitExit();
    ASSERT_TRUE(status) << "the first run did not end after its Quit was confirmed";
    EXPECT_EQ(*status, 0) << first->ErrorText();
    EXPECT_FALSE(first->SanitizerReported()) << first->ErrorText();
    const std::string progressFile = home + "/Tavelin/Progress.txt";
    EXPECT_NE(ReadFile(progressFile).find("\nwindow windowed\n"), std::string::npos) << ReadFile(progressFile);

    ProgramRun* second = session.StartProgram(home);
    ASSERT_NE(second, nullptr);
    GameOnDesktop again(session, *second);
    licence = again.WaitFor(
        [&](const Picture& s, const Box& p) { return InAWindow(again, s, p) && GameOnDesktop::IsLicence(s, p); },
        "second-licence-in-a-window");
    ASSERT_TRUE(licence);
    session.Keep(licence->screen, "second-licence-in-a-window");
    // The licence keeps the picture's own shape inside its window.
    EXPECT_NEAR(static_cast<double>(licence->picture.width) / licence->picture.height, 853.0 / 480.0, 0.02)
        << Describe(licence->picture);

    session.MovePointer(licence->picture.CentreX(), licence->picture.CentreY());
    session.Key("Escape");
    status = second->process.WaitExit();
    ASSERT_TRUE(status) << "the second run did not end after Escape";
    EXPECT_EQ(*status, 0) << second->ErrorText();
    EXPECT_FALSE(second->SanitizerReported()) << second->ErrorText();
    EXPECT_NE(ReadFile(progressFile).find("\nwindow windowed\n"), std::string::npos) << ReadFile(progressFile);
}

}  // namespace
}  // namespace desktop
