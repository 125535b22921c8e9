#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Globals.h"
#include "framework/Options.h"
#include "framework/Quit.h"
#include "platform/input/InputHooks.h"
#include "platform/input/WiiRemote.h"
#include "platform/sound/SoundEngine.h"
#include "program/Startup.h"
#include "support/EntityWorld.h"
#include "support/FakeClock.h"
#include "support/FatalCapture.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// ---- the shared deadline ----

struct FakeThread {
    int endsAfterPolls = 0;  // -1: never ends
    int polls = 0;
    std::string fate;
};

ThreadHandle HandleOf(FakeThread& t, const char* name) {
    return {name, [&t] { return t.endsAfterPolls >= 0 && t.polls++ >= t.endsAfterPolls; }, [&t] { t.fate = "joined"; },
            [&t] { t.fate = "detached"; }};
}

}  // namespace

TEST(ShutdownDeadlineTest, AStuckThreadIsDetachedAfterTheSharedDeadline) {
    FakeClock clock;
    FakeThread stuck{-1}, late{1}, later{1};
    AddThreadHandle(HandleOf(stuck, "stuck"));
    AddThreadHandle(HandleOf(late, "late"));
    AddThreadHandle(HandleOf(later, "later"));
    const std::uint32_t start = clock.now.load();
    EXPECT_FALSE(WaitForThreads(3000));
    EXPECT_EQ(stuck.fate, "detached");
    EXPECT_EQ(late.fate, "joined");
    EXPECT_EQ(later.fate, "joined");
    // 3000 ms for the stuck one, then at least 1 ms more for each of the others.
    EXPECT_EQ(clock.now.load() - start, 3002u);
    EXPECT_EQ(ThreadHandleCount(), 0u);
}

TEST(ShutdownDeadlineTest, ThreadsThatEndAreJoinedWithoutWaiting) {
    FakeClock clock;
    FakeThread a{0}, b{0};
    AddThreadHandle(HandleOf(a, "a"));
    AddThreadHandle(HandleOf(b, "b"));
    const std::uint32_t start = clock.now.load();
    EXPECT_TRUE(WaitForThreads(3000));
    EXPECT_EQ(a.fate, "joined");
    EXPECT_EQ(b.fate, "joined");
    EXPECT_EQ(clock.now.load(), start);
    EXPECT_TRUE(WaitForThreads(3000));  // the list was emptied
}

TEST(ShutdownDeadlineTest, ASlowThreadUsesUpTheOthersTime) {
    FakeClock clock;
    FakeThread slow{2500}, stuck{-1};
    AddThreadHandle(HandleOf(slow, "slow"));
    AddThreadHandle(HandleOf(stuck, "stuck"));
    const std::uint32_t start = clock.now.load();
    EXPECT_FALSE(WaitForThreads(3000));
    EXPECT_EQ(slow.fate, "joined");
    EXPECT_EQ(stuck.fate, "detached");
    EXPECT_EQ(clock.now.load() - start, 3000u);
}

namespace {
FakeThread* waitingOnUs = nullptr;
void ServeRequests() { waitingOnUs->endsAfterPolls = 0; }  // its request done, the thread can end
}  // namespace

TEST(ShutdownDeadlineTest, TheWaitKeepsServingWhatTheThreadsWaitFor) {
    FakeClock clock;
    FakeThread needsTheWindowThread{-1};
    waitingOnUs = &needsTheWindowThread;
    AddThreadHandle(HandleOf(needsTheWindowThread, "render"));
    EXPECT_TRUE(WaitForThreads(3000, &ServeRequests));
    EXPECT_EQ(needsTheWindowThread.fate, "joined");
}

// ---- the start-up thread ----

namespace {

std::vector<std::string> steps;
bool Succeed(const char* step) {
    steps.push_back(step);
    return true;
}

class StartupThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = Globals;
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
            const char* value = std::getenv(name);
            env.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
        fs::create_directories(home / "Documents");
        fs::create_directories(tmp.Path());
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        setenv("TMPDIR", tmp.Path().c_str(), 1);
        steps.clear();
        startupHooks = StartupHooks{};
        startupHooks.inputInit = [] { return Succeed("input"); };
        startupHooks.graphicsInit = [] { return Succeed("graphics"); };
        startupHooks.windowInit = [] { return Succeed("windows"); };
        GameQuit = nullptr;
    }
    void TearDown() override {
        for (auto& [name, value] : env) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::memcpy(Globals.workingDirectory, saved.workingDirectory, sizeof saved.workingDirectory);
        std::memcpy(Globals.temporaryFolder, saved.temporaryFolder, sizeof saved.temporaryFolder);
        std::memcpy(Globals.userDataFolder, saved.userDataFolder, sizeof saved.userDataFolder);
        startupHooks = PlatformStartupHooks();
        ResetInputHooks();
        GameQuit = nullptr;
    }

    TheGlobals saved;
    std::vector<std::pair<std::string, std::optional<std::string>>> env;
    TempFolder home;
    TempFolder tmp;
    FakeClock clock;
};

}  // namespace

TEST_F(StartupThreadTest, PreparesFoldersOptionsAndDevicesInOrder) {
    OptionsTable.inputLeft = -1;
    StartupThread();
    EXPECT_EQ(steps, (std::vector<std::string>{"input", "graphics", "windows"}));
    EXPECT_EQ(std::string(Globals.workingDirectory), fs::current_path().string());
    const std::string temporary = tmp.Path() + "/KerrowanTemp/";
    EXPECT_EQ(std::string(Globals.temporaryFolder), temporary);
    EXPECT_TRUE(fs::is_directory(temporary));
    EXPECT_TRUE(fs::is_empty(temporary));  // the libraries are linked, nothing is written there
    EXPECT_EQ(std::string(Globals.userDataFolder), home / "Documents/Tavelin");
    EXPECT_TRUE(fs::is_directory(home / "Documents/Tavelin/Levels"));
    EXPECT_NE(OptionsTable.inputLeft, -1);
    EXPECT_EQ(GameQuit, &SetQuitting);
}

TEST_F(StartupThreadTest, DocumentsFolderFromTheUserDirsFileElseHomeElseTheAccount) {
    fs::create_directories(home / "config");
    fs::create_directories(home / "Papers");
    std::ofstream(home / "config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
    StartupThread();
    EXPECT_EQ(std::string(Globals.userDataFolder), home / "Papers/Tavelin");

    fs::remove(home / "config/user-dirs.dirs");
    fs::remove_all(home / "Documents");
    EXPECT_EQ(UserDocumentsFolder(), home.Path());

    // No $HOME at all: the account's home folder, never an empty path.
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    std::string expected = account->pw_dir;
    while (expected.size() > 1 && expected.back() == '/') expected.pop_back();
    if (expected == "/") expected.clear();
    EXPECT_EQ(UserDocumentsFolder(), expected);
}

TEST_F(StartupThreadTest, AnUnusableDataFolderIsReportedNotSilentlyLost) {
    // A file where a folder should be: the message names that folder, and
    // says what will not be saved for it.
    struct Case {
        const char* blocked;
        const char* lost;
    };
    const Case cases[] = {
        {"Documents/Tavelin", "progress and levels"},
        {"Documents/Tavelin/Levels", "levels"},
    };
    std::string said;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocked);
        fs::remove_all(home / "Documents/Tavelin");
        fs::create_directories(fs::path(home / c.blocked).parent_path());
        std::ofstream(home / c.blocked) << "not a folder";
        testing::internal::CaptureStderr();
        StartupThread();
        said = testing::internal::GetCapturedStderr();
        const std::string message =
            "Unable to create the folder \"" + (home / c.blocked) + "\": " + c.lost + " will not be saved.";
        EXPECT_NE(said.find(message), std::string::npos) << said;
    }

    // A path too long for the data folder field: nothing cut short is used.
    fs::remove_all(home / "Documents/Tavelin");
    std::string deep = home / "Documents";
    while (deep.size() < TheGlobals::kPathSize) deep += "/" + std::string(200, 'd');
    fs::create_directories(deep);
    fs::create_directories(home / "config");
    std::ofstream(home / "config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"" << deep << "\"\n";
    testing::internal::CaptureStderr();
    StartupThread();
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Globals.userDataFolder[0], '\0');
    EXPECT_NE(said.find("will not be saved"), std::string::npos);
}

TEST_F(StartupThreadTest, FailuresShowTheirText) {
    FatalCapture capture;
    struct Case {
        const char* what;
        void (*arrange)(const std::string& tmp);
        const char* text;
    };
    const Case cases[] = {
        {"input", [](const std::string&) { startupHooks.inputInit = [] { return false; }; },
         "Failed to initialize the input engine!"},
        {"graphics", [](const std::string&) { startupHooks.graphicsInit = [] { return false; }; },
         "Failed to initialize the graphics engine!"},
        {"temporary path too long",
         [](const std::string& tmp) {
             std::string deep = tmp;
             while (deep.size() < TheGlobals::kPathSize - 8) deep += "/" + std::string(100, 't');
             fs::create_directories(deep);
             setenv("TMPDIR", deep.c_str(), 1);
         },
         "Failed to get a temporary directory!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        c.arrange(tmp.Path());
        try {
            StartupThread();
            ADD_FAILURE() << "start-up went on";
        } catch (const FatalExit& exit) {
            EXPECT_EQ(exit.text, c.text);
            EXPECT_EQ(exit.caption, "Error during initialization");
            EXPECT_NE(exit.status, 0);
        }
    }

    // A working directory that has gone.
    const fs::path here = fs::current_path();
    {
        TempFolder gone;
        fs::current_path(gone.Path());
        fs::remove(gone.Path());
        try {
            StartupThread();
            ADD_FAILURE() << "start-up went on";
        } catch (const FatalExit& exit) {
            EXPECT_EQ(exit.text, "Failed to get the current working directory!");
        }
        fs::current_path(here);
    }
}

// ---- the vibration gate ----

class DeviceHooksTest : public world::EntityWorld {
protected:
    void TearDown() override {
        ResetInputHooks();
        WiiRemote_::SetSwitches({});
        soundEngine.SetPaused(false);
        world::EntityWorld::TearDown();
    }
};

TEST_F(DeviceHooksTest, PadVibrationFollowsTheGameSwitchesAndThePause) {
    WireDeviceHooks();
    auto& vars = GameVars();
    struct Case {
        bool rumble, pad, paused, allowed;
    };
    const Case cases[] = {{false, false, false, false},
                          {true, false, false, false},
                          {false, true, false, false},
                          {true, true, false, true},
                          {true, true, true, false}};
    for (const Case& c : cases) {
        vars.rumbleOn = c.rumble;
        vars.xbox360Controls = c.pad;
        soundEngine.SetPaused(c.paused);
        EXPECT_EQ(PadRumbleAllowed(), c.allowed) << c.rumble << c.pad << c.paused;
    }
    vars.rumbleOn = true;
    vars.wiiControls = true;
    soundEngine.SetPaused(false);
    EXPECT_TRUE(WiiRemote_::RumbleAllowed());
    EXPECT_TRUE(WiiRemote_::WiiControlsOn());
    vars.wiiControls = false;
    EXPECT_FALSE(WiiRemote_::RumbleAllowed());
    EXPECT_FALSE(WiiRemote_::WiiControlsOn());
    Game::_Shutdown();  // no game entity: no switches are on
    EXPECT_FALSE(PadRumbleAllowed());
    EXPECT_FALSE(WiiRemote_::WiiControlsOn());
    Game::_FirstInit();
}
