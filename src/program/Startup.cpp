// The start-up thread and the main thread's start-up window.
#include "program/Startup.h"

#include <SDL2/SDL.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "framework/Fatal.h"
#include "framework/FolderLock.h"
#include "framework/Game.h"
#include "framework/GameVariables.h"
#include "framework/Globals.h"
#include "framework/Options.h"
#include "framework/Paths.h"
#include "framework/Quit.h"
#include "framework/Time.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/WiiRemote.h"
#include "platform/sound/SoundEngine.h"

namespace {

constexpr const char* kStartupCaption = "Error during initialization";

[[noreturn]] void StartupFailure(const char* text) { FatalError(text, kStartupCaption, 1); }

// Makes a folder; one that is there already is no error (a file of that name is).
bool MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One copy of the program per data folder: a second copy would save its
// settings over the first one's. It says so and ends before it has read or
// written anything there. The lock is tried once per folder.
std::string lockTried;  // written before the start-up thread is made, read by it after

void LockDataFolder(const std::string& data) {
    if (lockTried == data) return;
    lockTried = data;
    switch (LockForProcess(data + "/TavelinData.lock")) {
        case FolderLockResult::Taken: break;
        case FolderLockResult::HeldByAnother: FatalError("Glimmerfall is already running.", "Glimmerfall", 1);
        case FolderLockResult::NotLockable:
            DebugOutput(("glimmerfall: the folder \"" + data +
                         "\" cannot be locked; a second copy using it would not be noticed\n")
                            .c_str());
            break;
    }
}

// The user data folder "Tavelin" and its "Levels" under the documents folder.
// The path is only used when it fits and the folder could be made; otherwise
// the player is told, naming the folder that could not be made, that nothing
// will be saved there, rather than losing it unseen.
void MakeUserDataFolders(const std::string& documents) {
    const std::string data = documents + "/Tavelin";
    const std::string levels = data + "/Levels";
    std::string failed;
    const char* lost = "progress and levels";
    const bool made = MakeFolder(data);
    if (!CopyPath(Globals.userDataFolder, data) || !made) {
        failed = data;
    } else if (!MakeFolder(levels)) {
        // The save file still goes into the data folder; only levels are lost.
        failed = levels;
        lost = "levels";
    }
    if (!failed.empty()) {
        const std::string text = "Unable to create the folder \"" + failed + "\": " + lost + " will not be saved.";
        ShowMessage(text.c_str(), "Glimmerfall");
        return;
    }
    LockDataFolder(data);
}

// The lock is taken on the main thread before any other thread of the
// program exists: the message box is shown from a forked child, and a child
// forked while another thread holds a lock (the allocator's, the display
// library's) can wait for it for ever. Where the folder is not known or
// cannot be made yet, the start-up thread tries once it has made it.
void TakeDataFolderLock() {
    const std::string documents = UserDocumentsFolder();
    if (documents.empty()) return;
    const std::string data = documents + "/Tavelin";
    if (MakeFolder(data)) LockDataFolder(data);
}

}  // namespace

std::string UserDocumentsFolder() {
    std::string folder = DocumentsFolder();
    if (folder.empty()) {
        // No $HOME: the account's home folder, then the working directory.
        if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir != nullptr)
            folder = account->pw_dir;
    }
    if (folder.empty()) folder = Globals.workingDirectory;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder == "/") folder.clear();  // "/Tavelin", not "//Tavelin"
    return folder;
}

namespace {
// The game's switches, read on the game thread (where vibration is asked for
// and the remote's buttons are read); no game entity: all off.
bool RumbleOn() { return GetMyGame() != nullptr && GameVars().rumbleOn; }
bool PadControls() { return GetMyGame() != nullptr && GameVars().xbox360Controls; }
bool RemoteControls() { return GetMyGame() != nullptr && GameVars().wiiControls; }
bool SoundPaused() { return soundEngine.GetPaused(); }
}  // namespace

void WireDeviceHooks() {
    inputHooks.rumbleOn = &RumbleOn;
    inputHooks.xbox360Controls = &PadControls;
    inputHooks.soundPaused = &SoundPaused;
    InstallWiiRemoteInputHooks();
    WiiRemote_::SetSwitches({&RemoteControls, &RumbleOn, &SoundPaused});
}

void StartupThread() {
    std::srand(SystemTimeMs());
    SetStartTimeStamp(SystemTimeMs());

    char path[TheGlobals::kPathSize];
    if (::getcwd(path, sizeof path) == nullptr || !CopyPath(Globals.workingDirectory, path))
        StartupFailure("Failed to get the current working directory!");

    std::string temporary = TemporaryPath();
    if (temporary.empty() || !CopyPath(Globals.temporaryFolder, temporary))
        StartupFailure("Failed to get a temporary directory!");

    const std::string documents = UserDocumentsFolder();

    // The program's own temporary folder. The libraries are linked normally,
    // so nothing is written into it.
    temporary += "KerrowanTemp/";
    if (!CopyPath(Globals.temporaryFolder, temporary)) StartupFailure("Failed to get a temporary directory!");
    ::mkdir(temporary.c_str(), 0700);

    OptionsTable.Fill();
    // Everything the input and game threads will ask of the windows and
    // devices is in place before either starts.
    WireDeviceHooks();
    if (startupHooks.wireWindows != nullptr) startupHooks.wireWindows();

    if (startupHooks.inputInit != nullptr && !startupHooks.inputInit())
        StartupFailure("Failed to initialize the input engine!");
    if (startupHooks.graphicsInit != nullptr && !startupHooks.graphicsInit())
        StartupFailure("Failed to initialize the graphics engine!");
    if (startupHooks.windowInit != nullptr) startupHooks.windowInit();

    MakeUserDataFolders(documents);
    GameQuit = &SetQuitting;
}

namespace {
// The game thread, listed for the wait at exit.
std::thread gameThread;
std::atomic<bool> gameThreadFinished{false};
}  // namespace

bool OpenStartupWindow() {
    TakeDataFolderLock();
    if (startupHooks.openFirstWindow != nullptr && !startupHooks.openFirstWindow()) return false;

    // The start-up thread is made by SDL, so that what SDL keeps per thread
    // (its error text) goes with it.
    struct Run {
        std::atomic<bool> done{false};
        bool succeeded = false;
    } run;
    SDL_Thread* startup = SDL_CreateThread(
        [](void* data) -> int {
            Run& r = *static_cast<Run*>(data);
            try {
                StartupThread();
                r.succeeded = true;
            } catch (const FatalExit&) {
                // Only a test's fatal-error sink returns here; the failure has been reported.
            }
            r.done.store(true);
            return r.succeeded ? 1 : 0;
        },
        "Startup", &run);
    if (startup == nullptr) return false;
    // The start-up window is served every 100 ms; the end of the start-up
    // thread is noticed within 10 ms, so the game thread starts at once.
    for (std::uint32_t slice = 0; !run.done.load(); ++slice) {
        if (slice % 10 == 0 && startupHooks.pumpFirstWindow != nullptr) startupHooks.pumpFirstWindow();
        if (run.done.load()) break;
        SleepMs(10);
    }
    SDL_WaitThread(startup, nullptr);
    const bool succeeded = run.succeeded;
    if (!succeeded) return false;

    if (gameThread.joinable()) gameThread.join();  // an earlier run's, already ended
    gameThreadFinished.store(false);
    gameThread = std::thread([] {
        GameThread();
        gameThreadFinished.store(true);
    });
    AddThreadHandle({"Main Loop", [] { return gameThreadFinished.load(); }, [] { gameThread.join(); },
                     [] { gameThread.detach(); }});
    return true;
}
