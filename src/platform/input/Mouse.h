#pragma once
// The mouse: per-button state of 8 buttons, movement and the cursor position
// for the game thread, fed by the input thread's polls of what the window
// thread's mouse events left behind.
#include <array>
#include <atomic>
#include <cstdint>

// One read of the mouse: x, y and wheel movement since the last read (the
// wheel in steps of 120 per notch) and 8 button bytes, nonzero = down.
struct MouseState {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::uint8_t buttons[8] = {};
};

class Mouse_ {
public:
    static constexpr int NUM_BUTTONS = 8;

    Mouse_() = default;
    Mouse_(const Mouse_&) = delete;
    Mouse_& operator=(const Mouse_&) = delete;

    bool Init();
    // Input thread: reads the device into the poll buffer and the newest cursor position.
    void Update();
    // Input thread, under the input lock: the newest poll goes into the
    // pending block. Until the game thread takes the block, its movement adds
    // up; each button's presses and let-gos since the last poll join a short
    // queue of states, one for each frame to come, so that a click, a let-go
    // before a new press, a double click or a wheel notch is seen however
    // long a game frame takes.
    void SendStateToStream();
    // Game thread, under the input lock: takes the pending block's movement
    // and the next state of each button's queue (the one the last frame saw
    // when the queue is empty) as this frame's state. A frame that takes a
    // press or a let-go from the queue has the pointer where that press or
    // let-go was (a busy frame often comes after the pointer moved on); the
    // next frame has it where it is now.
    void GetStateFromStream();
    // Game thread, under the input lock: drops what the pending block holds
    // beyond the newest poll (its movement and the queued states): the next
    // frame sees the buttons as the newest poll left them.
    void SettleOnNewest();
    void Reset();
    void Free();

    bool Pressed(unsigned char button) const;
    bool Triggered(unsigned char button) const;
    bool Released(unsigned char button) const;
    bool Held(unsigned char button, int delay, int rate) const;
    bool AnyPressed() const;
    bool AnyTriggered() const;
    bool AnyReleased() const;
    bool _Pressed(unsigned char button) const { return button < NUM_BUTTONS && current.buttons[button]; }
    bool _Triggered(unsigned char button) const {
        return button < NUM_BUTTONS && current.buttons[button] && !previous.buttons[button];
    }
    bool _Released(unsigned char button) const {
        return button < NUM_BUTTONS && !current.buttons[button] && previous.buttons[button];
    }

    int PressCount(unsigned char button) const { return button < NUM_BUTTONS ? pressCount[button] : 0; }
    int LastPressed(unsigned char button) const { return button < NUM_BUTTONS ? lastPressed[button] : 0; }
    bool EverPressed(unsigned char button) const { return button < NUM_BUTTONS && everPressed[button]; }
    int UseCount() const { return useCount; }
    int LastUsed() const { return lastUsed; }
    bool EverUsed() const { return everUsed; }
    int MoveCount() const { return moveCount; }
    int LastMoved() const { return lastMoved; }
    bool EverMoved() const { return everMoved; }
    bool DoubleClick() const { return doubleClick; }
    float DeltaX() const { return deltaX; }
    float DeltaY() const { return deltaY; }
    float DeltaZ() const { return deltaZ; }

    int GetScreenX() const { return screenX; }
    int GetScreenY() const { return screenY; }
    float GetX() const;
    float GetY() const;

    void Lock(float x, float y) { Lock(x, y, x, y); }
    void Lock(float left, float top, float right, float bottom);
    void Unlock() { locked = false; }

    // Window thread: mouse events from the system. Button downs and let-gos
    // stay latched until the next poll; movement adds up until the next poll; the cursor
    // position is in screen pixels.
    void DeviceMove(int dx, int dy);
    void DeviceWheel(int dz);
    void DeviceButton(unsigned char button, bool down);
    void DeviceCursor(int x, int y);

private:
    std::int32_t useCount = 0;
    std::int32_t lastUsed = 0;
    bool everUsed = false;
    std::int32_t moveCount = 0;
    std::int32_t lastMoved = 0;
    bool everMoved = false;
    bool doubleClick = false;
    std::array<std::int32_t, NUM_BUTTONS> pressCount{};
    std::array<std::int32_t, NUM_BUTTONS> lastPressed{};
    std::array<bool, NUM_BUTTONS> everPressed{};
    MouseState previous, current, pending, poll;
    // What the poll saw of each button since the one before: how often let
    // go and pressed, and down at its end.
    std::uint8_t pollLetGo[NUM_BUTTONS] = {};
    std::uint8_t pollPressed[NUM_BUTTONS] = {};
    std::uint8_t pollDown[NUM_BUTTONS] = {};
    // Under the input lock: the newest poll's buttons (a press since the poll
    // before counts as down), each button's state at the end of the newest
    // poll, the state the last frame saw, and the states queued for the
    // frames to come (each differs from the one before it).
    static constexpr int kQueued = 4;
    std::uint8_t newestButtons[NUM_BUTTONS] = {};
    std::uint8_t polledDown[NUM_BUTTONS] = {};
    std::uint8_t takenButtons[NUM_BUTTONS] = {};
    std::uint8_t queued[NUM_BUTTONS][kQueued] = {};
    std::int64_t queuedAt[NUM_BUTTONS][kQueued] = {};  // where the pointer was at each (Packed)
    int queuedCount[NUM_BUTTONS] = {};
    // What the poll saw of where the newest press and let-go of each button were.
    std::int64_t pollPressAt[NUM_BUTTONS] = {};
    std::int64_t pollLetGoAt[NUM_BUTTONS] = {};
    // Queues a button's state for a frame to come, with where the pointer
    // was then, unless it is the state the frames will already show by then.
    void Queue(int button, std::uint8_t down, std::int64_t at);
    static std::int64_t Packed(std::int32_t x, std::int32_t y) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32 |
                                         static_cast<std::uint32_t>(y));
    }
    static std::int32_t PackedX(std::int64_t at) {
        return static_cast<std::int32_t>(static_cast<std::uint64_t>(at) >> 32);
    }
    static std::int32_t PackedY(std::int64_t at) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(at)); }
    // Whether a frame has taken the pending block since the last poll.
    bool taken = false;
    bool locked = false;
    float lockRect[4] = {};
    float deltaX = 0.0f, deltaY = 0.0f, deltaZ = 0.0f;
    std::int32_t screenX = 0, screenY = 0;
    // The newest poll's cursor, and the copy handed over with the pending block.
    std::int32_t polledX = 0, polledY = 0;
    std::int32_t pendingX = 0, pendingY = 0;

    // The device.
    std::atomic<std::int32_t> moveX{0}, moveY{0}, moveZ{0};
    std::array<std::atomic<std::uint8_t>, NUM_BUTTONS> liveButtons{};
    std::array<std::atomic<std::uint8_t>, NUM_BUTTONS> latchedButtons{};
    std::array<std::atomic<std::uint8_t>, NUM_BUTTONS> letGoButtons{};
    // Where the pointer was at each button's newest press and let-go (Packed).
    std::array<std::atomic<std::int64_t>, NUM_BUTTONS> pressAt{};
    std::array<std::atomic<std::int64_t>, NUM_BUTTONS> letGoAt{};
    std::atomic<std::int32_t> cursorX{0}, cursorY{0};
};

extern Mouse_ Mouse;
