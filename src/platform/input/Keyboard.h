#pragma once
// The keyboard: per-key state of 256 key codes for the game thread, fed by
// the input thread's polls, which read what the window thread's key events
// left behind.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class Keyboard_ {
public:
    static constexpr int NUM_KEYS = 256;
    static constexpr int DELAY = 30;  // frames before a held key repeats
    static constexpr int RATE = 3;    // frames between repeats

    Keyboard_();
    Keyboard_(const Keyboard_&) = delete;
    Keyboard_& operator=(const Keyboard_&) = delete;

    bool Init();
    // Input thread: reads the device into the poll buffer.
    void Update();
    void Reset();
    // Input thread, under the input lock: the poll buffer becomes the pending
    // block; keys that went down since the game thread last took it stay marked.
    void SendStateToStream();
    // Game thread, under the input lock: takes the pending block as this
    // frame's state, a key pressed since the last frame as down; a key let go
    // and pressed again in between reads up for one frame first, so that no
    // press is lost. Without takeTyped (the input reset of a screen that
    // loads) the presses waiting to be typed stay for the next frame: keys
    // typed as a dialog opens reach its first frame.
    void GetStateFromStream(bool takeTyped = true);
    void Free();

    bool Pressed(unsigned char key) const;
    bool Triggered(unsigned char key) const;
    bool Released(unsigned char key) const;
    bool Held(unsigned char key, int delay, int rate) const;
    bool AnyPressed() const;
    bool AnyTriggered() const;
    bool AnyReleased() const;
    bool _Pressed(unsigned char key) const { return current[key] != 0; }
    bool _Triggered(unsigned char key) const { return current[key] && !previous[key]; }
    bool _Released(unsigned char key) const { return !current[key] && previous[key]; }

    // Game thread: counts the key as down in the previous frame too, so that
    // Triggered answers false for it for the rest of this frame: a press one
    // widget has used up acts on nothing else.
    void UseUpTrigger(unsigned char key) { previous[key] = current[key]; }

    int PressCount(unsigned char key) const { return pressCount[key]; }
    int LastPressed(unsigned char key) const { return lastPressed[key]; }
    bool EverPressed(unsigned char key) const { return everPressed[key]; }
    int UseCount() const { return useCount; }
    int LastUsed() const { return lastUsed; }
    bool EverUsed() const { return everUsed; }

    // This frame's typed characters, keeping those whose entry in filter (256
    // entries, indexed by the character's byte value) is true; a null filter
    // keeps all. Every press since the last frame types once, in the order
    // the keys went down and with the Shift, Caps Lock and Ctrl of that
    // moment (a press with Ctrl held types nothing), however many presses
    // one frame holds; then the keys held long enough repeat, as Held does.
    //
    // A Tab or an Enter moves the focus at the end of the frame that sees
    // it, so a frame's typed text ends with the first of them: the presses
    // after it wait for the next frame, and reach the widget the focus
    // moved to, however many keys a slow frame collects.
    std::string GetFramesKeys(const bool* filter) const;
    // The text widget that took this frame's typed text uses it up: nothing
    // else this frame (the box the focus moves to on Enter) types it again.
    void UseUpFramesKeys() { framesKeys.clear(); }
    // This frame's typed text held a Tab (a press, or the held key's
    // repeat), used up or not: the focus moves on once.
    bool TabTyped() const { return tabTyped; }
    // This frame's typed text ended with an Enter pressed (not a held key's
    // repeat): the text box that has the focus hands it on.
    bool EnterTyped() const { return enterTyped; }
    // The box that handed the focus on used that Enter up: the box the focus
    // went to does not hand it on again this frame.
    void UseUpEnter() { enterTyped = false; }

    // The character key types with this frame's Shift and the Caps Lock
    // toggle (letters follow Shift exclusive-or Caps Lock, other keys Shift
    // alone), as typed text uses it; 0 for a key that types nothing.
    char Character(unsigned char key) const;

    // Window thread: a key event from the system, and the Caps Lock toggle
    // that came with it. A key that goes down stays latched until the next
    // poll, so a press and release between two polls is still seen once. A
    // press (not the system's own repeat of a held key) is also queued for
    // typed text with the modifiers down at that moment.
    void DeviceKey(unsigned char key, bool down, bool repeat = false);
    void DeviceCapsLock(bool on) { capsLock.store(on, std::memory_order_relaxed); }

    // The keyboard's own lock (taken after the input lock).
    std::recursive_mutex Critical;

private:
    void DetermineKeyVisibility();
    bool CapsLockOn() const { return capsLock.load(std::memory_order_relaxed); }
    // What key types with the given modifiers; 0 for a key that types nothing.
    char Translate(unsigned char key, bool shift, bool caps) const;

    std::array<std::uint8_t, NUM_KEYS> current{};
    std::array<std::uint8_t, NUM_KEYS> previous{};
    std::int32_t useCount = 0;
    std::int32_t lastUsed = 0;
    bool everUsed = false;
    std::array<std::int32_t, NUM_KEYS> pressCount{};
    std::array<std::int32_t, NUM_KEYS> lastPressed{};
    std::array<bool, NUM_KEYS> everPressed{};
    std::string framesKeys;
    bool tabTyped = false;
    bool enterTyped = false;
    // The keys that type, in the order one frame's typed text lists them
    // (symbols, then letters), and what each key code types.
    struct Typed {
        char plain = 0, shifted = 0;
        bool letter = false;
    };
    std::vector<unsigned char> typingOrder;
    std::array<Typed, NUM_KEYS> typed{};
    std::array<std::uint8_t, NUM_KEYS> pending{};       // the newest poll
    std::array<std::uint8_t, NUM_KEYS> pressedSince{};  // went down since the game thread last took the block
    std::array<std::uint8_t, NUM_KEYS> lastPoll{};
    std::array<std::uint8_t, NUM_KEYS> poll{};

    // The device: keys down now and keys that went down since the last poll.
    std::array<std::atomic<std::uint8_t>, NUM_KEYS> liveKeys{};
    std::array<std::atomic<std::uint8_t>, NUM_KEYS> latchedKeys{};
    std::atomic<bool> capsLock{false};

    // Presses since the game thread last took them, oldest first (under
    // Critical): the window thread queues, the game thread's hand-over
    // turns them into this frame's typed text.
    struct Press {
        unsigned char key = 0;
        bool shift = false, caps = false, ctrl = false;
    };
    static constexpr std::size_t kMostPresses = 512;
    std::vector<Press> presses;
};

extern Keyboard_ Keyboard;
