// The level editor as a level maker uses it on a desktop with a window
// manager: from the main menu into the editor, a new level named and sized
// with keys typed at once as the New dialog opens, a goal placed, a brush
// stroke dragged with the real pointer as the level's floor, the level
// saved; the Open dialog placed by the window manager, a press on the editor
// behind it doing nothing and its Cancel clicked where it is drawn; the level
// reopened by a double click in the Open dialog's list; the window closed
// with an edit not saved: the question, answered with Quit, leaves the file
// as it was saved. Then the program is started again on the same home: the
// level opened from the list, played (Play saves it, and the test play shows
// its floor and the player on it), left by the pause menu back to the
// editor, and the window closed. And a click into the editor while another
// program's window has the focus acts at once. Every place clicked is found
// from the screen's pixels: the grid's cells, the tool bar's round buttons,
// the palette's tabs and entries, the dialogs' boxes, rows and buttons, the
// pause menu's buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "desktop/GameOnDesktop.h"

namespace desktop {
namespace {

// ---- the editor's colours ----

// An empty cell of the grid: dark navy, darker towards the bottom; the lines
// between cells are lighter and fail the test.
PixelTest CellNavy() {
    return [](Rgb p) { return p.r <= 27 && p.g <= 29 && p.b >= 35 && p.b <= 62 && p.b >= p.r + 20; };
}
// The grass tile's green.
PixelTest GrassGreen() {
    return [](Rgb p) { return p.g >= 170 && p.g >= p.r + 50 && p.g >= p.b + 30; };
}
// The navy of the tool bar's round buttons.
PixelTest ButtonNavy() {
    return [](Rgb p) { return p.b >= 95 && p.b <= 135 && p.r <= 70 && p.g <= 80 && p.b >= p.r + 50; };
}
// The objects tab's dark olive and the tiles tab's beige.
PixelTest ObjectsOlive() { return NearColour(Rgb{56, 56, 43}, 12); }
PixelTest TilesBeige() { return NearColour(Rgb{196, 189, 173}, 12); }
// The objects palette's plate.
PixelTest ObjectsPlate() { return NearColour(Rgb{66, 66, 51}, 6); }
// The palette's entries and the list's names: bright.
PixelTest Bright() {
    return [](Rgb p) { return p.r + p.g + p.b >= 540; };
}

// ---- what the editor's screen shows ----

// The grid's cells as the screen shows them: the column and row lattice
// found from the empty cells (each a region of its own between the lines).
struct Lattice {
    int left = 0, top = 0;          // the first shown cell's top left
    double pitchX = 0, pitchY = 0;  // from one cell to the next
    int cellWidth = 0, cellHeight = 0;
    int columns = 0, rows = 0;

    Box Cell(int column, int row) const {
        return Box{left + static_cast<int>(column * pitchX), top + static_cast<int>(row * pitchY), cellWidth,
                   cellHeight};
    }
};

// Values within `slack` of each other count as one; gives each group's least.
std::vector<int> Grouped(std::vector<int> values, int slack) {
    std::sort(values.begin(), values.end());
    std::vector<int> groups;
    for (int v : values)
        if (groups.empty() || v - groups.back() > slack) groups.push_back(v);
    return groups;
}

std::optional<Lattice> GridLattice(const Picture& screen, const Box& picture) {
    if (picture.Empty()) return std::nullopt;
    const Box area = picture.Within(0.29, 0.03, 0.925, 0.76);
    const std::vector<Picture::Region> regions = screen.Regions(CellNavy(), area, 200);
    if (regions.size() < 20) return std::nullopt;
    // Whole empty cells, most of what the grid shows: about the size of the
    // middle one (a scroll bar's dark track is larger, a covered cell smaller).
    const int middle = regions[regions.size() / 2].pixels;
    std::vector<Picture::Region> cells;
    for (const auto& r : regions)
        if (r.pixels * 10 >= middle * 7 && r.pixels * 10 <= middle * 14) cells.push_back(r);
    std::vector<int> lefts, tops, widths, heights;
    for (const auto& c : cells) {
        lefts.push_back(c.box.left);
        tops.push_back(c.box.top);
        widths.push_back(c.box.width);
        heights.push_back(c.box.height);
    }
    std::sort(widths.begin(), widths.end());
    std::sort(heights.begin(), heights.end());
    const int width = widths[widths.size() / 2], height = heights[heights.size() / 2];
    const std::vector<int> columns = Grouped(lefts, width / 3), rows = Grouped(tops, height / 3);
    if (columns.size() < 8 || rows.size() < 6) return std::nullopt;
    // The pitch is the commonest step between neighbours (a line of cells the
    // pointer or a picture covers leaves a gap of two steps).
    auto pitch = [](const std::vector<int>& at) {
        std::vector<int> steps;
        for (std::size_t i = 1; i < at.size(); ++i) steps.push_back(at[i] - at[i - 1]);
        std::sort(steps.begin(), steps.end());
        return static_cast<double>(steps[steps.size() / 2]);
    };
    Lattice lattice;
    lattice.left = columns.front();
    lattice.top = rows.front();
    lattice.pitchX = pitch(columns);
    lattice.pitchY = pitch(rows);
    lattice.columns = static_cast<int>(std::lround((columns.back() - columns.front()) / lattice.pitchX)) + 1;
    lattice.rows = static_cast<int>(std::lround((rows.back() - rows.front()) / lattice.pitchY)) + 1;
    lattice.cellWidth = width;
    lattice.cellHeight = height;
    return lattice;
}

// Whether a cell shows the grass tile (most of its middle green).
bool Grass(const Picture& screen, const Lattice& lattice, int column, int row) {
    return screen.Share(GrassGreen(), lattice.Cell(column, row).Within(0.2, 0.3, 0.8, 0.9)) > 0.5;
}
// Whether a cell shows nothing (its middle all navy).
bool EmptyCell(const Picture& screen, const Lattice& lattice, int column, int row) {
    return screen.Share(CellNavy(), lattice.Cell(column, row).Within(0.15, 0.15, 0.85, 0.85)) > 0.9;
}

// The level editor's case, in cells as the view shows a new level of 16 by
// 16 (its bottom rows, its first column at the left): the stroke is a floor
// along the bottom row, under the level start (column 1, the row above), so
// that the test play's player stands on it.
constexpr int kStrokeRow = 8;
constexpr int kStrokeFrom = 1, kStrokeTo = 13;

// Whether every cell of the stroke shows grass.
bool StrokeShown(const Picture& screen, const Lattice& lattice) {
    for (int c = kStrokeFrom; c <= kStrokeTo; ++c)
        if (!Grass(screen, lattice, c, kStrokeRow)) return false;
    return true;
}

// ---- what the test play shows ----

// The grass of the played level, drawn as the game draws its tiles: a green
// band along the tiles' tops, lit in places, and blades above it.
PixelTest PlayGrass() {
    return [](Rgb p) { return p.g >= 95 && p.g >= p.r + 35 && p.g >= p.b + 20; };
}

// The test play of the level, by its floor: one band of grass across most of
// the picture (the editor's grass tiles stand apart, each in its cell).
bool IsTestPlay(const Picture& screen, const Box& picture) {
    if (picture.Empty()) return false;
    for (const auto& region : screen.Regions(PlayGrass(), picture, picture.width))
        if (region.box.width > picture.width * 7 / 10 && region.box.height < picture.height / 4) return true;
    return false;
}

// The player's picture is drawn in the player's colour: its shades, darker
// or lighter, point the colour's way.
PixelTest ShadeOf(Rgb colour) {
    auto length = [](Rgb c) { return std::sqrt(double(c.r) * c.r + double(c.g) * c.g + double(c.b) * c.b); };
    return [colour, length](Rgb p) {
        if (std::max({p.r, p.g, p.b}) < 50) return false;
        const double along = double(p.r) * colour.r + double(p.g) * colour.g + double(p.b) * colour.b;
        return along >= 0.99 * length(p) * length(colour);
    };
}

// The player standing where the level starts, at the floor's left end: the
// lower left quarter of the picture shows enough of the player's colour.
bool PlayerAtStart(const Picture& screen, const Box& picture, Rgb colour) {
    return screen.Count(ShadeOf(colour), picture.Within(0.0, 0.5, 0.25, 1.0)) >= picture.width * picture.height / 3000;
}

// The pause menu's three buttons (Resume, How To Play, and the way out),
// top to bottom, pale in the middle of the picture.
std::vector<Box> PauseButtons(const Picture& screen, const Box& picture) {
    std::vector<Box> buttons;
    if (picture.Empty()) return buttons;
    for (const auto& region : screen.Regions(ButtonPale(), picture.Within(0.3, 0.05, 0.7, 0.95), 50))
        if (region.box.width > picture.width / 8 && region.box.height > picture.height / 30)
            buttons.push_back(region.box);
    std::sort(buttons.begin(), buttons.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
    if (buttons.size() != 3) buttons.clear();
    return buttons;
}

// The tool bar's round buttons at the top left: New, Open, Save, Save As
// (two rows of two), and Play, the large one beside them.
struct ToolBar {
    Box newLevel, open, save, saveAs, play;
};

std::optional<ToolBar> FindToolBar(const Picture& screen, const Box& picture) {
    if (picture.Empty()) return std::nullopt;
    std::vector<Picture::Region> regions =
        screen.Regions(ButtonNavy(), picture.Within(0.0, 0.0, 0.3, 0.22), std::max(20, picture.width / 16));
    if (regions.size() < 5) return std::nullopt;
    regions.resize(5);  // largest first: Play, then the four small ones
    std::vector<Box> small;
    for (std::size_t i = 1; i < regions.size(); ++i) small.push_back(regions[i].box);
    if (regions[0].pixels < 2 * regions[1].pixels) return std::nullopt;
    std::sort(small.begin(), small.end(), [](const Box& a, const Box& b) {
        return std::abs(a.top - b.top) > a.height / 2 ? a.top < b.top : a.left < b.left;
    });
    return ToolBar{small[0], small[1], small[2], small[3], regions[0].box};
}

// A dialog's two buttons at its foot ("Cancel" left, "OK" right): pale on
// the darker foot of its plate.
std::vector<Box> DialogButtons(const Picture& screen, const Box& picture) {
    std::vector<Box> buttons;
    if (picture.Empty()) return buttons;
    for (const auto& region : screen.Regions(ButtonPale(), picture.Within(0.05, 0.75, 0.95, 1.0), 50))
        if (region.box.width > picture.width / 6 && region.box.height > picture.height / 12)
            buttons.push_back(region.box);
    std::sort(buttons.begin(), buttons.end(), [](const Box& a, const Box& b) { return a.left < b.left; });
    if (buttons.size() != 2) buttons.clear();
    return buttons;
}

// A dialog's empty text boxes, white, top to bottom and left to right.
std::vector<Box> TextBoxes(const Picture& screen, const Box& picture) {
    std::vector<Box> boxes;
    if (picture.Empty()) return boxes;
    for (const auto& region : screen.Regions(PaleAtLeast(250), picture.Within(0.05, 0.15, 0.95, 0.8), 50))
        if (region.box.width > picture.width / 8 && region.box.height > picture.height / 15)
            boxes.push_back(region.box);
    std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
        return std::abs(a.top - b.top) > a.height / 2 ? a.top < b.top : a.left < b.left;
    });
    return boxes;
}

// The open dialog's list: its names, bright on the list's navy, one box a
// row, top to bottom.
std::vector<Box> ListRows(const Picture& screen, const Box& picture) {
    std::vector<Box> rows;
    if (picture.Empty()) return rows;
    const Box list = picture.Within(0.18, 0.12, 0.78, 0.85);
    std::vector<Picture::Region> letters = screen.Regions(Bright(), list, 4);
    // Letters only: no plate's edge, no bar.
    letters.erase(std::remove_if(letters.begin(), letters.end(),
                                 [&](const Picture::Region& r) {
                                     return r.box.height > picture.height / 12 || r.box.width > picture.width / 3;
                                 }),
                  letters.end());
    std::sort(letters.begin(), letters.end(),
              [](const Picture::Region& a, const Picture::Region& b) { return a.box.top < b.box.top; });
    for (const auto& l : letters) {
        if (!rows.empty() && l.box.top < rows.back().Bottom()) {
            Box& row = rows.back();
            const int right = std::max(row.Right(), l.box.Right()), bottom = std::max(row.Bottom(), l.box.Bottom());
            row.left = std::min(row.left, l.box.left);
            row.top = std::min(row.top, l.box.top);
            row.width = right - row.left;
            row.height = bottom - row.top;
        } else {
            rows.push_back(l.box);
        }
    }
    // A row of names is as tall as letters; a stray bright speck is no row.
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const Box& r) { return r.height < 8 || r.width < 20; }),
               rows.end());
    return rows;
}

bool IsEditor(const Picture& screen, const Box& picture) {
    return FindToolBar(screen, picture).has_value() && GridLattice(screen, picture).has_value();
}

// The palette's tab of a colour (the one not shown, or the tiles tab while
// the objects show), in the band above the palette.
std::optional<Box> PaletteTab(const Picture& screen, const Box& picture, const PixelTest& colour) {
    const std::vector<Picture::Region> regions =
        screen.Regions(colour, picture.Within(0.05, 0.25, 0.28, 0.33), std::max(20, picture.width / 10));
    if (regions.empty()) return std::nullopt;
    return regions.front().box;
}

// The objects palette's level goal: the right one of its top row's entries.
std::optional<Box> GoalEntry(const Picture& screen, const Box& picture) {
    const std::vector<Picture::Region> plates =
        screen.Regions(ObjectsPlate(), picture.Within(0.03, 0.3, 0.28, 0.66), picture.width * 4);
    if (plates.empty()) return std::nullopt;
    const Box plate = plates.front().box;
    std::vector<Picture::Region> entries = screen.Regions(Bright(), plate.Within(0.05, 0.03, 0.95, 0.97), 15);
    if (entries.size() < 3) return std::nullopt;
    int top = plate.Bottom();
    for (const auto& e : entries) top = std::min(top, e.box.top);
    std::optional<Box> goal;
    for (const auto& e : entries)
        if (e.box.top < top + plate.height / 8 && (!goal || e.box.left > goal->left)) goal = e.box;
    return goal;
}

// The tiles palette's grass entry: the green one in its lower half.
std::optional<Box> GrassEntry(const Picture& screen, const Box& picture) {
    const std::vector<Picture::Region> regions =
        screen.Regions(GrassGreen(), picture.Within(0.03, 0.45, 0.28, 0.66), picture.width / 4);
    if (regions.empty()) return std::nullopt;
    return regions.front().box;
}

// The goal's cell (on the floor's last cell), the cell of the edit left
// unsaved.
constexpr int kGoalColumn = 13, kGoalRow = 7;
constexpr int kUnsavedColumn = 7, kUnsavedRow = 6;
// A cell at the view's right, beside the open dialog.
constexpr int kBehindColumn = 15, kBehindRow = 1;
const char* const kLevelName = "brook";

class LevelEditorOnDesktop : public ::testing::Test {
protected:
    // A key held as a hand holds it, with a rest after it: the dialog takes
    // a key each frame, and a busy machine's frames are slow.
    void Tap(const std::string& key) {
        session.Key(key);
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }

    // The pointer off the cells a case looks at, so that neither it nor the
    // hovered cell's mark covers them.
    void PointerAside(const Lattice& grid) {
        const Box aside = grid.Cell(0, 0);
        session.MovePointer(aside.CentreX(), aside.CentreY());
    }

    // From the licence into the editor, the way a player goes.
    std::optional<GameOnDesktop::Seen> IntoTheEditor(GameOnDesktop& game) {
        std::optional<GameOnDesktop::Seen> menu = game.AcceptAndReachMainMenu();
        if (!menu) return std::nullopt;
        const std::vector<Box> buttons = GameOnDesktop::MainMenuButtons(menu->screen, menu->picture);
        return game.ClickUntil(
            buttons[4], &IsEditor,
            [](const Picture& s, const Box& p) { return GameOnDesktop::MainMenuButtons(s, p).size() == 7; }, "editor");
    }

    // Open from the tool bar, and the level's name double-clicked in the
    // list (sorted, its first row): the editor shows the level from its file
    // with the stroke, on the lattice its screen shows.
    struct Reopened {
        GameOnDesktop::Seen seen;
        Lattice grid;
    };
    std::optional<Reopened> OpenByDoubleClick(GameOnDesktop& game, const ToolBar& tools, const TopWindow& main,
                                              const std::string& step) {
        auto listUp = [&](const Picture& s, const Box& p) {
            const std::optional<TopWindow> top = game.TopWindowNow();
            return top && top->id != main.id && DialogButtons(s, p).size() == 2 && !ListRows(s, p).empty();
        };
        const std::optional<GameOnDesktop::Seen> list = game.ClickUntil(tools.open, listUp, &IsEditor, step + "-list");
        if (!list) return std::nullopt;
        session.Keep(list->screen, step + "-list");
        const std::vector<Box> rows = ListRows(list->screen, list->picture);
        EXPECT_EQ(rows.size(), 2u) << "the list shows the new level and the first one";
        if (rows.empty()) return std::nullopt;
        // A double click the busy program took as one click (the name
        // chosen, the dialog still there) is given again, as a person does.
        session.DoubleClick(rows[0].CentreX(), rows[0].CentreY());
        int doubleClicks = 1;
        auto last = std::chrono::steady_clock::now();
        std::optional<Lattice> grid;
        const std::optional<GameOnDesktop::Seen> shown = game.WaitFor(
            [&](const Picture& s, const Box& p) {
                const std::optional<TopWindow> top = game.TopWindowNow();
                if (top && top->id != main.id && doubleClicks < 3 && std::chrono::steady_clock::now() - last > 15s &&
                    listUp(s, p)) {
                    std::fprintf(stderr, "desktop: %s: the double click was given again, the list still shows\n",
                                 step.c_str());
                    session.DoubleClick(rows[0].CentreX(), rows[0].CentreY());
                    ++doubleClicks;
                    last = std::chrono::steady_clock::now();
                }
                if (!top || top->id != main.id || !FindToolBar(s, p)) return false;
                grid = GridLattice(s, p);
                return grid && StrokeShown(s, *grid);
            },
            step);
        if (!shown) {
            ADD_FAILURE() << "the double click did not open the level with its stroke";
            return std::nullopt;
        }
        session.Keep(shown->screen, step);
        return Reopened{*shown, *grid};
    }

    // The pause key in the test play, until the pause menu shows: a key a
    // busy program took while the play still faded in is given again while
    // the play shows without its menu.
    std::optional<GameOnDesktop::Seen> PauseMenu(GameOnDesktop& game) {
        session.Key("Escape");
        int keys = 1;
        auto last = std::chrono::steady_clock::now();
        return game.WaitFor(
            [&](const Picture& s, const Box& p) {
                if (PauseButtons(s, p).size() == 3) return true;
                if (keys < 3 && std::chrono::steady_clock::now() - last > 15s && IsTestPlay(s, p)) {
                    std::fprintf(stderr, "desktop: the pause key was given again, the play shows no menu\n");
                    session.Key("Escape");
                    ++keys;
                    last = std::chrono::steady_clock::now();
                }
                return false;
            },
            "pause-menu");
    }

    // The window's close with an edit not saved: the question comes (the
    // program still runs), and its Quit ends the program well, with no
    // sanitizer's report.
    bool CloseAndQuit(GameOnDesktop& game, const TopWindow& main) {
        session.AskToClose(main);
        std::optional<GameOnDesktop::Seen> question = game.WaitFor(
            [&](const Picture& s, const Box& p) {
                const std::optional<TopWindow> top = game.TopWindowNow();
                return top && top->id != main.id && GameOnDesktop::ConfirmButtons(s, p).size() == 2;
            },
            "close-question");
        if (!question) {
            ADD_FAILURE() << "closing with an unsaved edit did not ask";
            return false;
        }
        session.Keep(question->screen, "close-question");
        EXPECT_TRUE(game.run.process.Running()) << "the close ended the program without asking";
        const Box quit = GameOnDesktop::ConfirmButtons(question->screen, question->picture)[0];
        session.Click(quit.CentreX(), quit.CentreY());
        const std::optional<int> status = game.run.process.WaitExit();
        if (!status) {
            ADD_FAILURE() << "the question's Quit did not end the program";
            return false;
        }
        EXPECT_EQ(*status, 0) << game.run.ErrorText();
        EXPECT_FALSE(game.run.SanitizerReported()) << game.run.ErrorText();
        return true;
    }

    std::string LevelFile() const { return home + "/Tavelin/Levels/" + kLevelName + ".lvl"; }

    DesktopSession session{{1280, 720, true}};
    std::string home;
};

TEST_F(LevelEditorOnDesktop, ANewLevelIsSavedWholeKeptThroughACloseThatAsksAndPlayedAfterAnotherStart) {
    ASSERT_TRUE(session.Ready());
    home = session.NewHome();
    ProgramRun* run = session.StartProgram(home);
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);
    std::optional<GameOnDesktop::Seen> editor = IntoTheEditor(game);
    ASSERT_TRUE(editor);
    const std::optional<TopWindow> main = game.TopWindowNow();
    ASSERT_TRUE(main);
    const Box picture = editor->picture;
    const std::optional<ToolBar> tools = FindToolBar(editor->screen, picture);
    ASSERT_TRUE(tools);
    session.Keep(editor->screen, "editor");

    // New, and the name, the width and the height typed at once with Tab
    // between them, as a level maker types without waiting for the dialog
    // to show: the keys reach its boxes from the moment it exists.
    auto dialogUp = [&](const Picture& s, const Box& p) {
        const std::optional<TopWindow> top = game.TopWindowNow();
        return top && top->id != main->id && DialogButtons(s, p).size() == 2 && TextBoxes(s, p).size() == 3;
    };
    session.Click(tools->newLevel.CentreX(), tools->newLevel.CentreY());
    ASSERT_TRUE(session.WaitForWindow(
        [](const TopWindow& w) { return w.name == "Create New Level" || w.name == "LevelEditorCreate"; },
        "create-window"));
    session.Type(std::string(kLevelName) + "\t16\t16");
    std::optional<GameOnDesktop::Seen> create = game.WaitFor(dialogUp, "create-dialog");
    ASSERT_TRUE(create);
    const std::vector<Box> boxes = TextBoxes(create->screen, create->picture);
    ASSERT_EQ(boxes.size(), 3u);
    // Dark pixels in a box: its caret once it has the focus, its letters.
    auto dark = [](const Picture& s, const Box& box) {
        return s.Count([](Rgb p) { return p.r + p.g + p.b < 300; }, box.Within(0.03, 0.1, 0.97, 0.9));
    };
    // A busy program shows keys late: the boxes are taken as typed once each
    // shows letters and they have stood unchanged (but for the caret) for
    // two seconds.
    std::vector<int> lastCounts(3, -1);
    auto lastChange = std::chrono::steady_clock::now();
    create = game.WaitFor(
        [&](const Picture& s, const Box&) {
            bool filled = true;
            for (std::size_t i = 0; i < 3; ++i) {
                const int count = dark(s, boxes[i]);
                // The caret's blink is no change; a letter is larger.
                if (std::abs(count - lastCounts[i]) > 60) {
                    lastCounts[i] = count;
                    lastChange = std::chrono::steady_clock::now();
                }
                filled = filled && count > 90;
            }
            return filled && std::chrono::steady_clock::now() - lastChange > 2s;
        },
        "create-typed");
    ASSERT_TRUE(create);
    session.Keep(create->screen, "create-dialog");
    const std::vector<Box> createButtons = DialogButtons(create->screen, create->picture);
    session.Click(createButtons[1].CentreX(), createButtons[1].CentreY());
    if (!WaitUntil([&] { return !ReadFile(LevelFile()).empty(); })) {
        session.Keep(session.Grab(), "create-refused");
        FAIL() << "OK made no " << LevelFile();
    }
    const std::string made = ReadFile(LevelFile());
    std::optional<GameOnDesktop::Seen> fresh = game.WaitFor(
        [&](const Picture& s, const Box& p) {
            const std::optional<TopWindow> top = game.TopWindowNow();
            return top && top->id == main->id && IsEditor(s, p) && DialogButtons(s, create->picture).empty();
        },
        "new-level");
    ASSERT_TRUE(fresh);
    const std::optional<Lattice> grid = GridLattice(fresh->screen, fresh->picture);
    ASSERT_TRUE(grid);
    session.Keep(fresh->screen, "new-level");
    ASSERT_GE(grid->columns, 16) << "a level of 16 by 16 shows all its columns";
    ASSERT_EQ(grid->rows, kStrokeRow + 1) << "the view shows the level's bottom rows, the stroke's row the last";
    ASSERT_FALSE(EmptyCell(fresh->screen, *grid, kStrokeFrom, kStrokeRow - 1))
        << "the level start is not above the floor's first cell";

    // The palette's label names the entry chosen (a tab's switch leaves it
    // empty): a click a busy program missed is given again.
    auto labelShown = [&](const Picture& s, const Box& p) {
        return s.Count([](Rgb c) { return c.r + c.g + c.b < 200; }, p.Within(0.05, 0.66, 0.28, 0.74)) > 150;
    };

    // The goal: the objects tab, its level goal, a cell, which then shows
    // the goal (no grass).
    const std::optional<Box> objectsTab = PaletteTab(fresh->screen, picture, ObjectsOlive());
    ASSERT_TRUE(objectsTab);
    std::optional<GameOnDesktop::Seen> objects = game.ClickUntil(
        *objectsTab, [&](const Picture& s, const Box& p) { return GoalEntry(s, p).has_value(); },
        [&](const Picture& s, const Box& p) { return !GoalEntry(s, p).has_value(); }, "objects-tab");
    ASSERT_TRUE(objects);
    const std::optional<Box> goal = GoalEntry(objects->screen, picture);
    ASSERT_TRUE(goal);
    ASSERT_TRUE(game.ClickUntil(
        *goal, labelShown, [&](const Picture& s, const Box& p) { return !labelShown(s, p); }, "goal-chosen"));
    const Box goalCell = grid->Cell(kGoalColumn, kGoalRow);
    session.Click(goalCell.CentreX(), goalCell.CentreY());
    PointerAside(*grid);
    ASSERT_TRUE(game.WaitFor(
        [&](const Picture& s, const Box&) {
            return !EmptyCell(s, *grid, kGoalColumn, kGoalRow) && !Grass(s, *grid, kGoalColumn, kGoalRow);
        },
        "goal-placed"));

    // Back to the tiles and their grass.
    const std::optional<GameOnDesktop::Seen> onObjects = game.WaitFor(&IsEditor, "objects-shown");
    ASSERT_TRUE(onObjects);
    const std::optional<Box> tilesTab = PaletteTab(onObjects->screen, picture, TilesBeige());
    ASSERT_TRUE(tilesTab);
    std::optional<GameOnDesktop::Seen> tiles = game.ClickUntil(
        *tilesTab, [&](const Picture& s, const Box& p) { return GrassEntry(s, p).has_value(); },
        [&](const Picture& s, const Box& p) { return !GrassEntry(s, p).has_value(); }, "tiles-tab");
    ASSERT_TRUE(tiles);
    const std::optional<Box> grass = GrassEntry(tiles->screen, picture);
    ASSERT_TRUE(grass);
    ASSERT_TRUE(game.ClickUntil(
        *grass, labelShown, [&](const Picture& s, const Box& p) { return !labelShown(s, p); }, "grass-chosen"));

    // The stroke: the button held at the first cell until it shows painted,
    // then the pointer dragged along the row in jumps of two and a half
    // cells, so that the program sees it pass over cells between two of its
    // frames, and let go at the last cell.
    const Box first = grid->Cell(kStrokeFrom, kStrokeRow);
    session.MovePointer(first.CentreX(), first.CentreY());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    session.ButtonDown();
    const bool firstPainted = static_cast<bool>(game.WaitFor(
        [&](const Picture& s, const Box&) { return Grass(s, *grid, kStrokeFrom, kStrokeRow); }, "stroke-start"));
    std::vector<std::pair<int, int>> path;
    for (double column = kStrokeFrom + 2.5; column < kStrokeTo; column += 2.5)
        path.emplace_back(grid->left + static_cast<int>(column * grid->pitchX) + grid->cellWidth / 2, first.CentreY());
    const Box last = grid->Cell(kStrokeTo, kStrokeRow);
    path.emplace_back(last.CentreX(), last.CentreY());
    session.MovePointerAlong(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    session.ButtonUp();
    PointerAside(*grid);
    ASSERT_TRUE(firstPainted);
    auto strokeShown = [&](const Picture& s) { return StrokeShown(s, *grid); };
    std::optional<GameOnDesktop::Seen> stroked =
        game.WaitFor([&](const Picture& s, const Box&) { return Grass(s, *grid, kStrokeTo, kStrokeRow); }, "stroke");
    ASSERT_TRUE(stroked);
    // Give a slow frame its time to show what it painted, then every cell
    // the pointer passed over is painted, and none beyond the stroke's ends.
    stroked = game.WaitFor([&](const Picture& s, const Box&) { return strokeShown(s); }, "stroke-whole", 10s);
    const Picture strokeScreen = stroked ? stroked->screen : session.Grab();
    session.Keep(strokeScreen, "stroke");
    for (int c = kStrokeFrom; c <= kStrokeTo; ++c)
        EXPECT_TRUE(Grass(strokeScreen, *grid, c, kStrokeRow)) << "column " << c << " of the stroke is not painted";
    EXPECT_TRUE(EmptyCell(strokeScreen, *grid, kStrokeFrom - 1, kStrokeRow));
    EXPECT_TRUE(EmptyCell(strokeScreen, *grid, kStrokeTo + 1, kStrokeRow));
    EXPECT_TRUE(EmptyCell(strokeScreen, *grid, kStrokeFrom + 1, kStrokeRow - 1)) << "the stroke stays in its row";

    // Save: the file takes the stroke.
    session.Click(tools->save.CentreX(), tools->save.CentreY());
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(LevelFile()) != made; })) << "Save did not write the level";
    const std::string saved = ReadFile(LevelFile());

    // Open, placed by the window manager: a press on the editor's cells
    // behind it paints nothing and leaves the dialog in front; its Cancel,
    // clicked where it is drawn, closes it.
    auto openUp = [&](const Picture& s, const Box& p) {
        const std::optional<TopWindow> top = game.TopWindowNow();
        return top && top->id != main->id && DialogButtons(s, p).size() == 2;
    };
    std::optional<GameOnDesktop::Seen> open = game.ClickUntil(tools->open, openUp, &IsEditor, "open-dialog");
    ASSERT_TRUE(open);
    const std::optional<TopWindow> openWindow = game.TopWindowNow();
    ASSERT_TRUE(openWindow);
    const Box behind = grid->Cell(kBehindColumn, kBehindRow);
    ASSERT_FALSE(open->picture.Contains(behind.CentreX(), behind.CentreY())) << "the cell is not behind the dialog";
    session.Click(behind.CentreX(), behind.CentreY());
    // The dialog shows on top again (or stayed there), then its Cancel.
    open = game.WaitFor(
        [&](const Picture& s, const Box& p) {
            const std::optional<TopWindow> top = game.TopWindowNow();
            return top && top->id == openWindow->id && openUp(s, p);
        },
        "open-dialog-in-front");
    ASSERT_TRUE(open) << "a press on the editor brought it over its open dialog";
    session.Keep(open->screen, "open-dialog");
    const Box cancel = DialogButtons(open->screen, open->picture)[1];
    std::optional<GameOnDesktop::Seen> closed = game.ClickUntil(
        cancel,
        [&](const Picture& s, const Box& p) {
            const std::optional<TopWindow> top = game.TopWindowNow();
            return top && top->id == main->id && IsEditor(s, p);
        },
        openUp, "open-cancelled");
    ASSERT_TRUE(closed) << "Cancel, clicked where it is drawn, did not close the dialog";
    EXPECT_TRUE(EmptyCell(closed->screen, *grid, kBehindColumn, kBehindRow))
        << "a press behind the dialog painted the editor";
    EXPECT_EQ(ReadFile(LevelFile()), saved);

    // Open again, and the level's name double-clicked in the list: the level
    // comes back from its file with the stroke.
    const std::optional<Reopened> reopened = OpenByDoubleClick(game, *tools, *main, "reopened");
    ASSERT_TRUE(reopened);

    // An edit not saved, then the window's close: the question, answered
    // with Quit, leaves the file as it was saved.
    const Box unsaved = grid->Cell(kUnsavedColumn, kUnsavedRow);
    session.Click(unsaved.CentreX(), unsaved.CentreY());
    PointerAside(*grid);
    ASSERT_TRUE(game.WaitFor([&](const Picture& s, const Box&) { return Grass(s, *grid, kUnsavedColumn, kUnsavedRow); },
                             "unsaved-edit"));
    ASSERT_TRUE(CloseAndQuit(game, *main));
    EXPECT_EQ(ReadFile(LevelFile()), saved) << "the file is as it was saved";

    // The program started again on the same home, as a level maker comes
    // back to a level: into the editor as a player goes, the level opened
    // from the list, with its stroke and without the edit the Quit dropped.
    ProgramRun* second = session.StartProgram(home);
    ASSERT_NE(second, nullptr);
    GameOnDesktop again(session, *second);
    std::optional<GameOnDesktop::Seen> back = IntoTheEditor(again);
    ASSERT_TRUE(back) << "the second start did not reach the editor";
    const std::optional<TopWindow> secondMain = again.TopWindowNow();
    ASSERT_TRUE(secondMain);
    const std::optional<ToolBar> secondTools = FindToolBar(back->screen, back->picture);
    ASSERT_TRUE(secondTools);
    const std::optional<Reopened> played = OpenByDoubleClick(again, *secondTools, *secondMain, "second-reopened");
    ASSERT_TRUE(played);
    EXPECT_TRUE(EmptyCell(played->seen.screen, played->grid, kUnsavedColumn, kUnsavedRow))
        << "the edit the question's Quit dropped is in the level";
    EXPECT_FALSE(EmptyCell(played->seen.screen, played->grid, kGoalColumn, kGoalRow)) << "the goal is gone";

    // Play: the level is saved as it stands (the file written again, the
    // same), and the test play shows it: the floor drawn as the game draws
    // grass, the player standing on its start, in the player's colour.
    const std::optional<Rgb> colour = SavedPlayerColour(second->SaveFile());
    ASSERT_TRUE(colour) << ReadFile(second->SaveFile());
    const auto writtenBefore = std::filesystem::last_write_time(LevelFile());
    auto playing = [&](const Picture& s, const Box& p) { return IsTestPlay(s, p) && PlayerAtStart(s, p, *colour); };
    std::optional<GameOnDesktop::Seen> play = again.ClickUntil(secondTools->play, playing, &IsEditor, "test-play");
    ASSERT_TRUE(play) << "Play did not show the level played";
    session.Keep(play->screen, "test-play");
    EXPECT_NE(std::filesystem::last_write_time(LevelFile()), writtenBefore) << "Play did not save the level";
    EXPECT_EQ(ReadFile(LevelFile()), saved) << "Play saved a level other than the one opened";

    // Out of the test play as a level maker leaves it: the pause key, the
    // pause menu's last button ("Level Editor"), which asks "Are you sure?"
    // on its own label, then again: the editor, with the level as it was.
    std::optional<GameOnDesktop::Seen> pause = PauseMenu(again);
    ASSERT_TRUE(pause) << "the pause key did not open the pause menu";
    session.Keep(pause->screen, "pause-menu");
    // The pointer on the button first: it shows hovered (larger), and its
    // label is read against the hovered button's.
    const Box leave = PauseButtons(pause->screen, pause->picture)[2];
    session.MovePointer(leave.CentreX(), leave.CentreY());
    const std::optional<GameOnDesktop::Seen> hovered = again.WaitFor(
        [&](const Picture& s, const Box& p) {
            const std::vector<Box> buttons = PauseButtons(s, p);
            return buttons.size() == 3 && buttons[2].width > leave.width;
        },
        "leave-hovered");
    ASSERT_TRUE(hovered);
    const Box label = PauseButtons(hovered->screen, hovered->picture)[2].Within(0.1, 0.15, 0.9, 0.85);
    auto asks = [&](const Picture& s, const Box& p) {
        return PauseButtons(s, p).size() == 3 && s.Difference(hovered->screen, label) > 8.0;
    };
    std::optional<GameOnDesktop::Seen> sure = again.ClickUntil(
        leave, asks, [&](const Picture& s, const Box& p) { return !asks(s, p); }, "leave-asks");
    ASSERT_TRUE(sure) << "the pause menu's Level Editor did not ask";
    session.Keep(sure->screen, "leave-asks");
    std::optional<Lattice> backGrid;
    std::optional<GameOnDesktop::Seen> edited = again.ClickUntil(
        leave,
        [&](const Picture& s, const Box& p) {
            if (!FindToolBar(s, p)) return false;
            backGrid = GridLattice(s, p);
            return backGrid && StrokeShown(s, *backGrid);
        },
        asks, "back-in-editor");
    ASSERT_TRUE(edited) << "the pause menu did not lead back to the editor";
    session.Keep(edited->screen, "back-in-editor");

    // Nothing unsaved: the window's close ends the program at once.
    session.AskToClose(*secondMain);
    const std::optional<int> secondStatus = second->process.WaitExit();
    ASSERT_TRUE(secondStatus) << "the close did not end the program";
    EXPECT_EQ(*secondStatus, 0) << second->ErrorText();
    EXPECT_FALSE(second->SanitizerReported()) << second->ErrorText();
    EXPECT_EQ(ReadFile(LevelFile()), saved);
}

// A level maker who worked in another program's window comes back with one
// click on a cell: the window manager gives the editor the focus with that
// click and passes the click on, and the cell is painted at once.
TEST_F(LevelEditorOnDesktop, AClickThatBringsTheEditorForwardPaintsItsCell) {
    ASSERT_TRUE(session.Ready());
    home = session.NewHome();
    ProgramRun* run = session.StartProgram(home);
    ASSERT_NE(run, nullptr);
    GameOnDesktop game(session, *run);
    std::optional<GameOnDesktop::Seen> editor = IntoTheEditor(game);
    ASSERT_TRUE(editor);
    const std::optional<TopWindow> main = game.TopWindowNow();
    ASSERT_TRUE(main);
    const std::optional<Lattice> grid = GridLattice(editor->screen, editor->picture);
    ASSERT_TRUE(grid);
    session.Keep(editor->screen, "editor");

    // The other program's window, clicked as a person clicks into it to work
    // there: it has the focus.
    const unsigned long other = session.OpenOtherWindow("Notes", 200, 150);
    ASSERT_NE(other, 0u);
    const std::optional<TopWindow> notes =
        session.WaitForWindow([&](const TopWindow& w) { return w.id == other && w.viewable; }, "other-window");
    ASSERT_TRUE(notes);
    session.Click(notes->box.CentreX(), notes->box.CentreY());
    ASSERT_TRUE(WaitUntil([&] { return session.FocusedWindow() == other; }))
        << "the other program's window did not take the focus";
    session.Keep(session.Grab(), "other-focused");

    // An empty cell well clear of the other window and its frame.
    std::optional<Box> target;
    const Box covered{notes->box.left - 40, notes->box.top - 60, notes->box.width + 80, notes->box.height + 100};
    for (int row = grid->rows / 2; row < grid->rows && !target; ++row)
        for (int column = 2; column < grid->columns - 2 && !target; ++column) {
            const Box cell = grid->Cell(column, row);
            if (covered.Intersect(cell).Empty() && EmptyCell(editor->screen, *grid, column, row)) target = cell;
        }
    ASSERT_TRUE(target);
    session.Click(target->CentreX(), target->CentreY());
    PointerAside(*grid);
    const std::optional<GameOnDesktop::Seen> painted = game.WaitFor(
        [&](const Picture& s, const Box&) { return s.Share(GrassGreen(), target->Within(0.2, 0.3, 0.8, 0.9)) > 0.5; },
        "painted-at-once");
    EXPECT_TRUE(painted) << "the click that brought the editor forward was lost";
    // The edit is not saved: the close asks, and Quit ends the program well.
    EXPECT_TRUE(CloseAndQuit(game, *main));
}

}  // namespace
}  // namespace desktop
