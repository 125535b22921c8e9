// The first screen of a fresh start, on a desktop with no window manager.
#include <gtest/gtest.h>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

// A new player's first start shows the licence over the whole screen;
// Escape declines it and the program ends as a quit does.
TEST(Licence, ShowsAtStartAndEscapeEndsTheProgram) {
    DesktopSession session({1280, 720, false});
    ASSERT_TRUE(session.Ready());
    ProgramRun* run = session.StartProgram(session.NewHome());
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);

    std::optional<GameOnDesktop::Seen> licence = game.WaitForLicence();
    ASSERT_TRUE(licence);
    session.Keep(licence->screen, "licence");
    // The 853 by 480 picture's shape is a hair narrower than the screen's.
    EXPECT_GE(licence->picture.width, session.Width() - 2) << Describe(licence->picture);
    EXPECT_EQ(licence->picture.height, session.Height()) << Describe(licence->picture);

    session.MovePointer(licence->picture.CentreX(), licence->picture.CentreY());
    session.Key("Escape");
    const std::optional<int> status = run->process.WaitExit();
    ASSERT_TRUE(status) << "the program did not end after Escape";
    EXPECT_EQ(*status, 0) << run->ErrorText();
    EXPECT_FALSE(run->SanitizerReported()) << run->ErrorText();
}

}  // namespace
}  // namespace desktop
