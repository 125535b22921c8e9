#pragma once
// The game's screens as a person sees them on the desktop: where the picture
// of its window lies (between black bars in full screen, inside its drawn
// frame in a window) and the drawn things a person clicks, found from their
// pixels: the licence's buttons, the main menu's column of buttons, the
// options' slider knobs, the quit confirmation's buttons. Every place is
// measured on the screen, never taken from the program.
#include <optional>
#include <string>
#include <vector>

#include "support/DesktopSession.h"

namespace desktop {

// The pale lavender of the menus' buttons.
PixelTest ButtonPale();
// The gold of a slider's knob.
PixelTest KnobGold();
// The colours of a window's drawn frame (active and inactive) and of the
// bars beside a full-screen picture.
const std::vector<Rgb>& FrameColours();

// One program's windows and screens on one desktop session.
class GameOnDesktop {
public:
    GameOnDesktop(DesktopSession& session, ProgramRun& run) : session(session), run(run) {}

    // The program's topmost window that shows, if any.
    std::optional<TopWindow> TopWindowNow();
    // Where the picture of that window lies on the grab (empty when none).
    Box PictureOn(const Picture& screen);

    // ---- what a screen shows, from its pixels (the picture's box given) ----
    // The licence: a large pale page with two buttons below it.
    static bool IsLicence(const Picture& screen, const Box& picture);
    static std::optional<Box> AcceptButton(const Picture& screen, const Box& picture);
    // The main menu: a column of seven buttons at the left, top to bottom
    // Singleplayer, Multiplayer, Credits, How To Play, Level Editor,
    // Options, Quit. Empty when the screen is not the main menu.
    static std::vector<Box> MainMenuButtons(const Picture& screen, const Box& picture);
    // The options: two slider knobs (music above, effects below), top first.
    static std::vector<Box> SliderKnobs(const Picture& screen, const Box& picture);
    // The quit confirmation: its two buttons ("Quit" left, "Continue" right).
    static std::vector<Box> ConfirmButtons(const Picture& screen, const Box& picture);

    // ---- waits on what the screen shows; each fails the case after the limit ----
    // Waits for a screen whose picture passes the test; gives the grab and
    // the picture's box.
    struct Seen {
        Picture screen;
        Box picture;
    };
    std::optional<Seen> WaitFor(const std::function<bool(const Picture&, const Box&)>& test, const std::string& name,
                                std::chrono::milliseconds limit = kLongestWait);
    std::optional<Seen> WaitForLicence();
    std::optional<Seen> WaitForMainMenu();
    // From the licence to the main menu as a new player goes: Accept where it
    // is drawn, then a key on the title screen. A click or key the program
    // missed on a busy machine is given again while the screen it was meant
    // for still shows.
    std::optional<Seen> AcceptAndReachMainMenu();
    // Clicks a box's centre, then waits until the screen passes the test;
    // the click is given again (at most twice more) while the screen still
    // shows the box's screen (`still`) after a long pause.
    std::optional<Seen> ClickUntil(const Box& target, const std::function<bool(const Picture&, const Box&)>& test,
                                   const std::function<bool(const Picture&, const Box&)>& still,
                                   const std::string& name);

    DesktopSession& session;
    ProgramRun& run;
};

// The save file's music volume (its sixth line's first value); nothing when
// the file is missing or not whole.
std::optional<float> SavedMusicVolume(const std::string& saveFile);
// The player's colour the save file gives (its second line); nothing when
// the file is missing or not whole.
std::optional<Rgb> SavedPlayerColour(const std::string& saveFile);
// Whether the save file is whole: its first line "Ver3" and its six lines.
bool SaveFileWhole(const std::string& saveFile);

}  // namespace desktop
