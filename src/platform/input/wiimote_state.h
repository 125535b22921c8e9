#pragma once
#include <cstdint>

// The Wii remote's state as the game sees it: buttons, motion, status and
// whatever is plugged into the extension port. The driver keeps one copy that
// its reader thread fills and one that the game reads (wiimote derives from it).
struct wiimote_state {
    // Change flags: what a report (or a connection event) changed.
    enum change_flags : std::uint32_t {
        CONNECTED = 0x00000001,
        CONNECTION_LOST = 0x00000002,
        BATTERY_CHANGED = 0x00000004,
        BATTERY_DRAINED = 0x00000008,
        LEDS_CHANGED = 0x00000010,
        BUTTONS_CHANGED = 0x00000020,
        ACCEL_CHANGED = 0x00000040,
        ORIENTATION_CHANGED = 0x00000080,
        IR_CHANGED = 0x00000100,
        NUNCHUK_CONNECTED = 0x00000200,
        NUNCHUK_BUTTONS_CHANGED = 0x00000400,
        NUNCHUK_ACCEL_CHANGED = 0x00000800,
        NUNCHUK_ORIENTATION_CHANGED = 0x00001000,
        NUNCHUK_JOYSTICK_CHANGED = 0x00002000,
        CLASSIC_CONNECTED = 0x00004000,
        CLASSIC_BUTTONS_CHANGED = 0x00008000,
        CLASSIC_JOYSTICK_L_CHANGED = 0x00010000,
        CLASSIC_JOYSTICK_R_CHANGED = 0x00020000,
        CLASSIC_TRIGGERS_CHANGED = 0x00040000,
        BALANCE_CONNECTED = 0x00080000,
        BALANCE_WEIGHT_CHANGED = 0x00100000,
        MOTIONPLUS_DETECTED = 0x00200000,
        MOTIONPLUS_ENABLED = 0x00400000,
        MOTIONPLUS_SPEED_CHANGED = 0x00800000,
        MOTIONPLUS_EXTENSION_CONNECTED = 0x01000000,
        MOTIONPLUS_EXTENSION_DISCONNECTED = 0x02000000,
        EXTENSION_DISCONNECTED = 0x04000000,
        EXTENSION_PARTIALLY_INSERTED = 0x08000000,
    };

    // What is plugged into the extension port.
    enum extension_type : std::uint32_t {
        NONE = 0,
        NUNCHUK = 1,
        CLASSIC = 2,
        GH3_GHWT_GUITAR = 3,
        GHWT_DRUMS = 4,
        BALANCE_BOARD = 5,
        MOTION_PLUS = 6,
        PARTIALLY_INSERTED = 7,
    };

    // Core buttons (the remote held upright).
    enum buttons : std::uint16_t {
        LEFT = 0x0001,
        RIGHT = 0x0002,
        DOWN = 0x0004,
        UP = 0x0008,
        PLUS = 0x0010,
        TWO = 0x0100,
        ONE = 0x0200,
        BUTTON_B = 0x0400,
        BUTTON_A = 0x0800,
        MINUS = 0x1000,
        HOME = 0x8000,
        ALL = 0x9F1F,
    };

    // An accelerometer with its orientation estimate.
    struct motion {
        std::uint8_t rawX = 0, rawY = 0, rawZ = 0;
        float x = 0, y = 0, z = 0;  // in g
        struct orientation_t {
            float x = 0, y = 0, z = 0;    // normalised
            std::uint32_t updateAge = 0;  // reports since the last update
            float pitch = 0, roll = 0;    // degrees
        } orientation;
    };

    // A stick: raw integers held as floats, the scaled value (about -1 to 1)
    // and a dead zone per axis (0 = none).
    struct joystick {
        float rawX = 0, rawY = 0;
        float x = 0, y = 0;
        float deadZoneX = 0, deadZoneY = 0;
    };

    struct calibration_t {
        std::uint8_t zeroX = 0, zeroY = 0, zeroZ = 0;
        std::uint8_t oneX = 0, oneY = 0, oneZ = 0;
    } calibrationInfo;

    std::uint16_t buttonsWord = 0;
    motion acceleration;

    struct ir_t {
        std::uint32_t mode = 0;  // 0 off, 1 basic, 3 extended
        struct dot {
            bool found = false;
            std::int32_t rawX = 0, rawY = 0;
            float x = 0, y = 0;
            std::int32_t size = 0;
        } dots[4];
    } infrared;

    std::uint8_t leds = 0;
    std::uint8_t batteryRaw = 0;
    std::uint8_t batteryPercent = 0;
    bool batteryLow = false;
    bool rumbling = false;
    bool extensionConnected = false;

    struct speaker_t {
        bool enabled = false;
        bool muted = false;
        std::uint32_t frequency = 0;
        std::uint8_t volume = 0;
    } speaker;

    std::uint32_t extensionType = NONE;

    struct nunchuk_t {
        struct calibration {
            std::uint8_t zeroX = 0, zeroY = 0, zeroZ = 0;
            std::uint8_t oneX = 0, oneY = 0, oneZ = 0;
            std::uint8_t minX = 0, midX = 0, maxX = 0;
            std::uint8_t minY = 0, midY = 0, maxY = 0;
        } calibrationInfo;
        motion acceleration;
        joystick stick;
        bool c = false, z = false;
    } nunchuk;

    struct classic_t {
        struct calibration {
            std::uint8_t minXL = 0, midXL = 0, maxXL = 0;
            std::uint8_t minYL = 0, midYL = 0, maxYL = 0;
            std::uint8_t minXR = 0, midXR = 0, maxXR = 0;
            std::uint8_t minYR = 0, midYR = 0, maxYR = 0;
            std::uint8_t minTriggerL = 0, maxTriggerL = 0;
            std::uint8_t minTriggerR = 0, maxTriggerR = 0;
        } calibrationInfo;
        std::uint16_t buttonsWord = 0;
        joystick stickL, stickR;
        std::uint8_t rawTriggerL = 0, rawTriggerR = 0;
        float triggerL = 0, triggerR = 0;
    } classicController;

    // Balance Board sensors: raw values and calibration sets are stored in the
    // order of the wire words W0, W2, W1, W3; weights in the order W2, W0, W3,
    // W1 followed by the total.
    struct balance_board_t {
        struct calibration {
            std::uint16_t kg0[4] = {}, kg17[4] = {}, kg34[4] = {};
        } calibrationInfo;
        std::uint16_t raw[4] = {};
        float atRest[5] = {};
        float kg[5] = {};
        float lb[5] = {};
    } balanceBoard;

    struct motion_plus_t {
        std::uint16_t rawYaw = 0, rawPitch = 0, rawRoll = 0;  // 14 bits used
        float yaw = 0, pitch = 0, roll = 0;
    } motionPlus;

    void Clear() { *this = wiimote_state{}; }
};
