// A new player's first run on desktops of several sizes and shapes, with no
// window manager: the licence switches to full screen at every start, so
// every click lands on a picture stretched over the screen, between black
// bars where the shapes differ.
#include <gtest/gtest.h>

#include <cmath>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

struct Desk {
    int width, height;
};

class FirstRun : public ::testing::TestWithParam<Desk> {};

// The picture fills the screen in one direction with its own shape (853 by
// 480), centred, and whatever it leaves is opaque black.
void ExpectFittedWithBlackBars(const Picture& screen, const Box& picture) {
    const double shape = 853.0 / 480.0;
    const double screenShape = static_cast<double>(screen.Width()) / screen.Height();
    if (screenShape > shape) {
        EXPECT_EQ(picture.height, screen.Height()) << Describe(picture);
        EXPECT_NEAR(picture.width, screen.Height() * shape, 2.0) << Describe(picture);
    } else {
        EXPECT_GE(picture.width, screen.Width() - 2) << Describe(picture);
        EXPECT_NEAR(picture.height, screen.Width() / shape, 2.0) << Describe(picture);
    }
    EXPECT_NEAR(picture.CentreX(), screen.Width() / 2, 2) << Describe(picture);
    EXPECT_NEAR(picture.CentreY(), screen.Height() / 2, 2) << Describe(picture);
    const Box bars[] = {
        Box{0, 0, screen.Width(), picture.top},
        Box{0, picture.Bottom(), screen.Width(), screen.Height() - picture.Bottom()},
        Box{0, 0, picture.left, screen.Height()},
        Box{picture.Right(), 0, screen.Width() - picture.Right(), screen.Height()},
    };
    for (const Box& bar : bars) {
        if (bar.Empty()) continue;
        EXPECT_EQ(screen.Share(ExactColour(Rgb{0, 0, 0}), bar), 1.0) << "bar " << Describe(bar) << " not black";
    }
}

// Accept, the main menu, Options, the music slider dragged by its knob,
// Escape back, Quit and its confirmation: every click where the screen shows
// the thing clicked. The program ends well and keeps the slider's value.
TEST_P(FirstRun, EveryClickLandsWhereThePictureShowsIt) {
    const Desk desk = GetParam();
    DesktopSession session({desk.width, desk.height, false});
    ASSERT_TRUE(session.Ready());
    ProgramRun* run = session.StartProgram(session.NewHome());
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);

    std::optional<GameOnDesktop::Seen> licence = game.WaitForLicence();
    ASSERT_TRUE(licence);
    session.Keep(licence->screen, "licence");
    ExpectFittedWithBlackBars(licence->screen, licence->picture);

    std::optional<GameOnDesktop::Seen> menu = game.AcceptAndReachMainMenu();
    ASSERT_TRUE(menu);
    session.Keep(menu->screen, "main-menu");
    std::vector<Box> buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
    ASSERT_EQ(buttons.size(), 7u);

    auto isOptions = [](const Picture& s, const Box& p) { return GameOnDesktop::SliderKnobs(s, p).size() == 2; };
    auto isMenu = [](const Picture& s, const Box& p) { return GameOnDesktop::MainMenuButtons(s, p).size() == 7; };
    std::optional<GameOnDesktop::Seen> options = game.ClickUntil(buttons[5], isOptions, isMenu, "options");
    ASSERT_TRUE(options);
    session.Keep(options->screen, "options");
    const Box knob = GameOnDesktop::SliderKnobs(options->screen, options->picture)[0];

    // The knob dragged a sixth of the picture to the right, held there until
    // the screen shows it there, then let go.
    const int dx = options->picture.width / 6;
    session.MovePointer(knob.CentreX(), knob.CentreY());
    session.ButtonDown();
    std::vector<std::pair<int, int>> path;
    for (int step = 1; step <= 8; ++step) path.emplace_back(knob.CentreX() + dx * step / 8, knob.CentreY());
    session.MovePointerAlong(path);
    std::optional<GameOnDesktop::Seen> moved = game.WaitFor(
        [&](const Picture& s, const Box& p) {
            const std::vector<Box> knobs = GameOnDesktop::SliderKnobs(s, p);
            return knobs.size() == 2 && std::abs(knobs[0].CentreX() - (knob.CentreX() + dx)) <= knob.width / 2 + 2;
        },
        "knob-moved");
    session.ButtonUp();
    ASSERT_TRUE(moved);
    session.Keep(moved->screen, "knob-moved");
    const Box movedKnob = GameOnDesktop::SliderKnobs(moved->screen, moved->picture)[0];
    // The other slider stays where it was.
    EXPECT_NEAR(GameOnDesktop::SliderKnobs(moved->screen, moved->picture)[1].CentreX(),
                GameOnDesktop::SliderKnobs(options->screen, options->picture)[1].CentreX(), 2);

    session.Key("Escape");
    menu = game.WaitForMainMenu();
    ASSERT_TRUE(menu);
    buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
    auto isConfirm = [](const Picture& s, const Box& p) { return GameOnDesktop::ConfirmButtons(s, p).size() == 2; };
    std::optional<GameOnDesktop::Seen> confirm = game.ClickUntil(buttons[6], isConfirm, isMenu, "quit-confirmation");
    ASSERT_TRUE(confirm);
    session.Keep(confirm->screen, "quit-confirmation");
    const Box quit = GameOnDesktop::ConfirmButtons(confirm->screen, confirm->picture)[0];
    session.Click(quit.CentreX(), quit.CentreY());

    const std::optional<int> status = run->process.WaitExit();
    ASSERT_TRUE(status) << "the program did not end after its Quit was confirmed";
    EXPECT_EQ(*status, 0) << run->ErrorText();
    EXPECT_FALSE(run->SanitizerReported()) << run->ErrorText();
    // The knob moved right from the middle, where a fresh save starts it.
    const std::optional<float> music = SavedMusicVolume(run->SaveFile());
    ASSERT_TRUE(music) << ReadFile(run->SaveFile());
    const double movedShare = static_cast<double>(movedKnob.CentreX() - knob.CentreX()) / options->picture.width;
    EXPECT_GT(*music, 0.5f + static_cast<float>(movedShare)) << "the saved music volume is not the slider's";
    EXPECT_LE(*music, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Desktops, FirstRun,
                         ::testing::Values(Desk{1280, 720}, Desk{1280, 800}, Desk{1920, 1080}, Desk{1024, 768}),
                         [](const ::testing::TestParamInfo<Desk>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace desktop
