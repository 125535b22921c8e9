#pragma once
// The input manager: starts the devices, runs the input thread that polls
// them 120 times a second, hands their state to the game thread under the
// input lock, names the keys and answers the menus' combined queries.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

union SDL_Event;

class Input_ {
public:
    Input_() = default;
    Input_(const Input_&) = delete;
    Input_& operator=(const Input_&) = delete;

    // Start-up thread: starts the devices, fills the key names and starts the input thread.
    bool Init();
    // The input thread's body: one poll per 1/120 s until Quitting.
    static unsigned long Execute(void*);
    // One poll of every device (input thread).
    void InternalUpdate();
    // The game thread's hand-over at the start of its frame: takes the
    // keyboard's and the mouse's pending blocks as this frame's state.
    void GameUpdate();
    // Forgets counts and makes the newest polled state both current and
    // previous, so nothing reads as newly pressed or released.
    void Reset();
    // Main thread at shut-down, after the input thread ended.
    void Free();

    // Window thread: one event from the system. Keyboard and mouse events
    // feed the devices; everything else is ignored.
    void HandleEvent(const SDL_Event& event);

    // The input thread, for the shut-down's wait: it sets the flag as it ends.
    bool ThreadFinished() const { return threadFinished.load(); }
    bool ThreadRunning() const { return inputThread.joinable(); }
    // How many polls have handed their state over so far; whoever feeds
    // events can wait for the next poll to be sure the game sees them.
    std::uint32_t PollCount() const { return pollCount.load(); }
    void JoinThread();
    void DetachThread();

    int GetMappedKey(int action) const;
    void SetMappedKey(int action, int key);
    std::string GetMappedString(int key) const;
    void InitDIKMap();

    bool AnythingPressed() const;
    bool AnythingTriggered() const;
    bool AnythingReleased() const;
    int UseCount() const;
    int LastUsed() const;
    bool EverUsed() const;
    bool SelectButtonPressed() const;
    bool PauseButtonPressed() const;
    // The pause controls without Enter, which also selects: what closes an
    // open menu (with the back controls) without taking a select press.
    bool MenuPauseButtonPressed() const;
    bool BackButtonPressed() const;
    bool UpPressed() const;
    bool DownPressed() const;
    bool LeftPressed() const;
    bool RightPressed() const;

    // The input lock: the keyboard's and the mouse's pending blocks.
    std::recursive_mutex Critical;

    // Left-stick threshold of the menu directions (strict).
    static constexpr int STICK_THRESHOLD = 30000;

private:
    std::unordered_map<int, unsigned char> keyMap;
    std::unordered_map<int, std::string> DIKNameTable;
    std::thread inputThread;
    std::atomic<bool> threadFinished{false};
    std::atomic<std::uint32_t> pollCount{0};
};

extern Input_ inputEngine;
