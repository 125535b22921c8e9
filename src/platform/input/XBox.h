#pragma once
// The pad: the first game controller, read as a pad of the original
// program's kind (a button word, two trigger bytes, four signed 16-bit stick
// axes with y growing upward) with timed vibration of its two motors.
#include <atomic>
#include <cstdint>

struct _SDL_GameController;

class XBox_ {
public:
    // Bits of the button word.
    static constexpr std::uint16_t DPAD_UP = 0x0001, DPAD_DOWN = 0x0002, DPAD_LEFT = 0x0004, DPAD_RIGHT = 0x0008,
                                   START = 0x0010, BACK = 0x0020, LEFT_THUMB = 0x0040, RIGHT_THUMB = 0x0080,
                                   LEFT_SHOULDER = 0x0100, RIGHT_SHOULDER = 0x0200, BUTTON_A = 0x1000,
                                   BUTTON_B = 0x2000, BUTTON_X = 0x4000, BUTTON_Y = 0x8000;
    // The result of a read with no pad connected.
    static constexpr int NOT_CONNECTED = 1167;

    XBox_() = default;
    XBox_(const XBox_&) = delete;
    XBox_& operator=(const XBox_&) = delete;

    bool Init();
    // SDL's game-controller layer with the hints it is read under. SDL's
    // hint list takes no lock, and starting the layer adds to it: the main
    // thread, whose event pump reads it, starts the layer before any other
    // thread calls SDL. Init starts it itself when nothing has yet.
    static bool StartSdl();
    // Input thread: reads the pad, applies vibration requests and stops the
    // motors once the end time is reached.
    void Update();
    // Closes the pad; called after the input thread has ended.
    void Free();

    // Game thread: both motors full for ms milliseconds (the light form only
    // the high-frequency one); an earlier request that ends later keeps its end.
    void Vibrate(unsigned ms);
    void LightVibrate(unsigned ms);

    bool Up() const { return Bit(DPAD_UP); }
    bool Down() const { return Bit(DPAD_DOWN); }
    bool Left() const { return Bit(DPAD_LEFT); }
    bool Right() const { return Bit(DPAD_RIGHT); }
    bool Start() const { return Bit(START); }
    bool Back() const { return Bit(BACK); }
    bool LeftThumb() const { return Bit(LEFT_THUMB); }
    bool RightThumb() const { return Bit(RIGHT_THUMB); }
    bool LeftShoulder() const { return Bit(LEFT_SHOULDER); }
    bool RightShoulder() const { return Bit(RIGHT_SHOULDER); }
    bool A() const { return Bit(BUTTON_A); }
    bool B() const { return Bit(BUTTON_B); }
    bool X() const { return Bit(BUTTON_X); }
    bool Y() const { return Bit(BUTTON_Y); }
    short LeftThumbX() const { return thumbLX.load(std::memory_order_relaxed); }
    short LeftThumbY() const { return thumbLY.load(std::memory_order_relaxed); }
    short RightThumbX() const { return thumbRX.load(std::memory_order_relaxed); }
    short RightThumbY() const { return thumbRY.load(std::memory_order_relaxed); }
    unsigned char LeftTrigger() const { return leftTrigger.load(std::memory_order_relaxed); }
    unsigned char RightTrigger() const { return rightTrigger.load(std::memory_order_relaxed); }
    std::uint16_t Buttons() const { return buttons.load(std::memory_order_relaxed); }
    std::uint32_t PacketNumber() const { return packetNumber.load(std::memory_order_relaxed); }
    // 0 while a pad is connected.
    int Result() const { return result.load(std::memory_order_relaxed); }
    std::uint32_t VibrationEndTime() const { return endTime.load(std::memory_order_relaxed); }

private:
    bool Bit(std::uint16_t mask) const { return (buttons.load(std::memory_order_relaxed) & mask) != 0; }
    void Request(std::uint16_t low, std::uint16_t high, unsigned ms);
    void Read();
    void Clear();

    std::atomic<std::uint32_t> endTime{0};
    std::atomic<std::uint32_t> packetNumber{0};
    std::atomic<std::uint16_t> buttons{0};
    std::atomic<std::uint8_t> leftTrigger{0}, rightTrigger{0};
    std::atomic<std::int16_t> thumbLX{0}, thumbLY{0}, thumbRX{0}, thumbRY{0};
    std::atomic<int> result{NOT_CONNECTED};

    // Vibration asked for by the game thread, applied by the input thread.
    std::atomic<std::uint32_t> motors{0};  // low-frequency level << 16 | high-frequency level
    std::atomic<std::uint32_t> requests{0};
    std::uint32_t applied = 0;

    // Input thread only.
    _SDL_GameController* controller = nullptr;
    bool sdlReady = false;
};

extern XBox_ XBox;
