#include "desktop/GameOnDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace desktop {

namespace {
using Clock = std::chrono::steady_clock;

// Regions of a test of at least this many pixels per thousand of the
// picture's area count as drawn things, not specks.
int MinPixels(const Box& picture, double perThousand) {
    return std::max(8, static_cast<int>(static_cast<double>(picture.width) * picture.height * perThousand / 1000.0));
}
}  // namespace

PixelTest ButtonPale() {
    return [](Rgb p) { return p.r >= 185 && p.g >= 180 && p.b >= 215; };
}

PixelTest KnobGold() {
    return [](Rgb p) { return p.r >= 150 && p.g >= 110 && p.b <= 130 && p.r >= p.b + 60; };
}

const std::vector<Rgb>& FrameColours() {
    static const std::vector<Rgb> colours = {Rgb{0, 0, 0}, Rgb{0x42, 0x42, 0x33}};
    return colours;
}

std::optional<TopWindow> GameOnDesktop::TopWindowNow() {
    std::vector<TopWindow> windows = session.WindowsOf(run.process.Pid());
    if (windows.empty()) return std::nullopt;
    return windows.back();
}

Box GameOnDesktop::PictureOn(const Picture& screen) {
    const std::optional<TopWindow> window = TopWindowNow();
    if (!window) return Box{};
    return PictureInside(screen, window->box, FrameColours());
}

bool GameOnDesktop::IsLicence(const Picture& screen, const Box& picture) {
    if (picture.Empty()) return false;
    return screen.Share(PaleAtLeast(200), picture.Within(0.1, 0.3, 0.9, 0.7)) > 0.5 &&
           AcceptButton(screen, picture).has_value();
}

std::optional<Box> GameOnDesktop::AcceptButton(const Picture& screen, const Box& picture) {
    if (picture.Empty()) return std::nullopt;
    // Below the page, whose pale bottom edge the search reaches too: the
    // button is the pale thing of a button's width clear of the search's top.
    const Box below = picture.Within(0.55, 0.8, 1.0, 1.0);
    for (const auto& region : screen.Regions(ButtonPale(), below, MinPixels(picture, 5)))
        if (region.box.top > below.top && region.box.width > picture.width / 10 &&
            region.box.width < picture.width * 3 / 10 && region.box.height > picture.height / 25)
            return region.box;
    return std::nullopt;
}

std::vector<Box> GameOnDesktop::MainMenuButtons(const Picture& screen, const Box& picture) {
    std::vector<Box> buttons;
    if (picture.Empty()) return buttons;
    for (const auto& region : screen.Regions(ButtonPale(), picture.Within(0.0, 0.3, 0.3, 1.0), MinPixels(picture, 2)))
        if (region.box.width > picture.width / 8 && region.box.height > picture.height / 40)
            buttons.push_back(region.box);
    std::sort(buttons.begin(), buttons.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
    if (buttons.size() != 7) buttons.clear();
    return buttons;
}

std::vector<Box> GameOnDesktop::SliderKnobs(const Picture& screen, const Box& picture) {
    std::vector<Box> knobs;
    if (picture.Empty()) return knobs;
    for (const auto& region : screen.Regions(KnobGold(), picture.Within(0.1, 0.3, 0.95, 0.75), MinPixels(picture, 0.1)))
        knobs.push_back(region.box);
    std::sort(knobs.begin(), knobs.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
    if (knobs.size() != 2) knobs.clear();
    return knobs;
}

std::vector<Box> GameOnDesktop::ConfirmButtons(const Picture& screen, const Box& picture) {
    std::vector<Box> buttons;
    if (picture.Empty()) return buttons;
    for (const auto& region : screen.Regions(ButtonPale(), picture.Within(0.1, 0.5, 0.9, 0.8), MinPixels(picture, 5)))
        if (region.box.width > picture.width / 8) buttons.push_back(region.box);
    std::sort(buttons.begin(), buttons.end(), [](const Box& a, const Box& b) { return a.left < b.left; });
    if (buttons.size() != 2 || std::abs(buttons[0].top - buttons[1].top) > picture.height / 50) buttons.clear();
    return buttons;
}

std::optional<GameOnDesktop::Seen> GameOnDesktop::WaitFor(const std::function<bool(const Picture&, const Box&)>& test,
                                                          const std::string& name, std::chrono::milliseconds limit) {
    Box box;
    std::optional<Picture> screen = session.WaitForScreen(
        [&](const Picture& grab) {
            box = PictureOn(grab);
            return test(grab, box);
        },
        name, limit);
    if (!screen) {
        ADD_FAILURE() << "the game's picture was last found at " << Describe(box);
        return std::nullopt;
    }
    return Seen{*screen, box};
}

std::optional<GameOnDesktop::Seen> GameOnDesktop::WaitForLicence() { return WaitFor(&IsLicence, "licence"); }

std::optional<GameOnDesktop::Seen> GameOnDesktop::WaitForMainMenu() {
    return WaitFor([](const Picture& s, const Box& p) { return MainMenuButtons(s, p).size() == 7; }, "main-menu");
}

std::optional<GameOnDesktop::Seen> GameOnDesktop::AcceptAndReachMainMenu() {
    std::optional<Seen> licence = WaitForLicence();
    if (!licence) return std::nullopt;
    std::optional<Box> accept = AcceptButton(licence->screen, licence->picture);
    session.Click(accept->CentreX(), accept->CentreY());
    auto lastClick = Clock::now();
    // The licence fades in and takes no click until it has: a person whose
    // click did nothing clicks again. The licence going away is one step,
    // with a wait of its own: a busy machine draws slowly.
    const std::optional<Seen> left = WaitFor(
        [&](const Picture& s, const Box& p) {
            if (!IsLicence(s, p)) return true;
            if (Clock::now() - lastClick > 10s) {
                const std::optional<Box> again = AcceptButton(s, p);
                if (again) {
                    std::fprintf(stderr, "desktop: Accept clicked again, the licence still shows\n");
                    session.Click(again->CentreX(), again->CentreY());
                }
                lastClick = Clock::now();
            }
            return false;
        },
        "licence-accepted");
    if (!left) return std::nullopt;
    // Past the splashes and the title screen ("Press any key"), which take no
    // key while they fade in: a key that does nothing on the main menu,
    // given again while they show, as a person would. Three screens lie on
    // the way, each of which ends by itself after 300 frames: the wait allows
    // each a full wait of its own on a machine that draws slowly.
    auto lastKey = Clock::now() - 10s;
    return WaitFor(
        [&](const Picture& s, const Box& p) {
            if (MainMenuButtons(s, p).size() == 7) return true;
            if (Clock::now() - lastKey > 3s) {
                session.Key("shift");
                lastKey = Clock::now();
            }
            return false;
        },
        "main-menu-after-licence", 3 * kLongestWait);
}

std::optional<GameOnDesktop::Seen> GameOnDesktop::ClickUntil(
    const Box& target, const std::function<bool(const Picture&, const Box&)>& test,
    const std::function<bool(const Picture&, const Box&)>& still, const std::string& name) {
    session.Click(target.CentreX(), target.CentreY());
    int clicks = 1;
    auto last = Clock::now();
    return WaitFor(
        [&](const Picture& s, const Box& p) {
            if (test(s, p)) return true;
            if (clicks < 3 && Clock::now() - last > 15s && still(s, p)) {
                std::fprintf(stderr, "desktop: %s: the click was given again, the screen still shows\n", name.c_str());
                session.Click(target.CentreX(), target.CentreY());
                ++clicks;
                last = Clock::now();
            }
            return false;
        },
        name);
}

std::optional<float> SavedMusicVolume(const std::string& saveFile) {
    if (!SaveFileWhole(saveFile)) return std::nullopt;
    std::ifstream in(saveFile);
    std::string line;
    for (int i = 0; i < 6; ++i) std::getline(in, line);
    float music = 0.0f, effects = 0.0f;
    if (std::sscanf(line.c_str(), "%f %f", &music, &effects) != 2) return std::nullopt;
    return music;
}

std::optional<Rgb> SavedPlayerColour(const std::string& saveFile) {
    if (!SaveFileWhole(saveFile)) return std::nullopt;
    std::ifstream in(saveFile);
    std::string line;
    for (int i = 0; i < 2; ++i) std::getline(in, line);
    int r = 0, g = 0, b = 0;
    if (std::sscanf(line.c_str(), "%d %d %d", &r, &g, &b) != 3) return std::nullopt;
    auto channel = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    return Rgb{channel(r), channel(g), channel(b)};
}

bool SaveFileWhole(const std::string& saveFile) {
    std::ifstream in(saveFile);
    std::string line;
    int lines = 0;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line != "Ver3") return false;
        first = false;
        ++lines;
    }
    return lines == 6;
}

}  // namespace desktop
