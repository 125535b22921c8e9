// The decoding half of the driver: input reports into the reader's state copy,
// extension identification and calibration, the orientation estimate.
#include <cmath>
#include <cstring>

#include "framework/Time.h"
#include "platform/input/wiimote.h"

namespace {

constexpr float kRadToDeg = 57.29578f;

std::uint16_t BigEndian(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

// Identification answers, data bytes 0 to 7 of the reply at 0xFA.
struct Identification {
    unsigned char bytes[8];
    std::uint32_t kind;
};
constexpr Identification kIdentifications[] = {
    {{0x00, 0x00, 0xA4, 0x20, 0x00, 0x00, 0x00, 0x00}, wiimote_state::NUNCHUK},
    {{0x00, 0x00, 0xA4, 0x20, 0x01, 0x01, 0x00, 0x00}, wiimote_state::CLASSIC},
    {{0x00, 0x00, 0xA4, 0x20, 0x01, 0x03, 0x00, 0x00}, wiimote_state::GH3_GHWT_GUITAR},
    {{0x01, 0x00, 0xA4, 0x20, 0x01, 0x03, 0x00, 0x00}, wiimote_state::GHWT_DRUMS},
    {{0x00, 0x00, 0xA4, 0x20, 0x04, 0x02, 0x00, 0x00}, wiimote_state::BALANCE_BOARD},
    {{0x00, 0x00, 0xA4, 0x20, 0x04, 0x05, 0x00, 0x00}, wiimote_state::MOTION_PLUS},
    {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}, wiimote_state::PARTIALLY_INSERTED},
};
constexpr unsigned char kInactiveMotionPlus[2][8] = {
    {0x00, 0x00, 0xA6, 0x20, 0x00, 0x05, 0x00, 0x00},
    {0x00, 0x00, 0xA6, 0x20, 0x04, 0x05, 0x00, 0x00},
};

// (raw - zero) / (one - zero) in floating point; 0 when the range is empty.
float Scale(int raw, int zero, int one) {
    int range = one - zero;
    return range ? static_cast<float>(raw - zero) / static_cast<float>(range) : 0.0f;
}

// A stick axis from its calibration, doubled to about -1..1. An axis whose
// maximum is 0 (no calibration) or whose range is empty keeps its value.
bool StickAxis(float raw, int minimum, int centre, int maximum, float& value) {
    if (maximum == 0 || maximum == minimum) return false;
    value = 2.0f * (raw - static_cast<float>(centre)) / static_cast<float>(maximum - minimum);
    return true;
}

void ApplyAxisDeadZone(float& v, float d) {
    if (!(d > 0.0f && d <= 1.0f)) return;
    if (std::fabs(v) <= d)
        v = 0.0f;
    else if (d < 1.0f)
        v = v > 0.0f ? (v - d) / (1.0f - d) : (v + d) / (1.0f - d);
}

}  // namespace

void wiimote::ParseInput(const unsigned char* report) {
    std::uint32_t changed = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        const bool board = Internal.extensionConnected && Internal.extensionType == BALANCE_BOARD;
        switch (report[0]) {
            case 0x20:
                changed |= ParseStatus(report);
                connected_ = true;
                break;
            case 0x21:
                changed |= ParseButtons(report);
                changed |= OnMemoryRead(report);
                break;
            case 0x30: changed |= ParseButtons(report); break;
            case 0x31:
            case 0x33:  // the infrared bytes 6 to 17 stay undecoded: the camera is kept off
                changed |= ParseButtons(report);
                if (!board) changed |= ParseAccel(report);
                break;
            case 0x32:
                changed |= ParseButtons(report);
                changed |= ParseExtension(3, report);
                break;
            case 0x35:
                changed |= ParseButtons(report);
                changed |= ParseExtension(6, report);
                if (!board) changed |= ParseAccel(report);
                break;
            case 0x37:
                changed |= ParseButtons(report);
                changed |= ParseExtension(16, report);
                if (!board) changed |= ParseAccel(report);
                break;
            default: return;
        }
        pendingChanges_ |= changed;
    }
    Notify(changed);
}

std::uint32_t wiimote::ParseButtons(const unsigned char* report) {
    std::uint16_t word = static_cast<std::uint16_t>((report[1] | report[2] << 8) & ALL);
    if (word == Internal.buttonsWord) return 0;
    Internal.buttonsWord = word;
    return BUTTONS_CHANGED;
}

std::uint32_t wiimote::ParseStatus(const unsigned char* report) {
    std::uint32_t changed = ParseButtons(report);
    const unsigned char flags = report[3];

    const bool low = flags & 0x01;
    if (low && !Internal.batteryLow) changed |= BATTERY_DRAINED;
    Internal.batteryLow = low;

    const std::uint8_t leds = flags >> 4;
    if (leds != Internal.leds) changed |= LEDS_CHANGED;
    Internal.leds = leds;

    const std::uint8_t battery = report[6];
    if (battery != Internal.batteryRaw) changed |= BATTERY_CHANGED;
    Internal.batteryRaw = battery;
    Internal.batteryPercent = static_cast<std::uint8_t>(battery / 2);

    const bool extension = flags & 0x02;
    if (extension != Internal.extensionConnected) {
        if (extension) {
            Internal.extensionConnected = true;
            InitExtension();
        } else {
            Internal.extensionConnected = false;
            Internal.extensionType = NONE;
            motionPlusDetected_ = motionPlusActive_ = motionPlusExtension_ = false;
            extensionSettingUp_ = false;
            changed |= EXTENSION_DISCONNECTED;
        }
    }
    return changed;
}

std::uint32_t wiimote::ParseAccel(const unsigned char* report) {
    std::uint32_t changed = 0;
    motion& m = Internal.acceleration;
    if (report[3] != m.rawX || report[4] != m.rawY || report[5] != m.rawZ) changed |= ACCEL_CHANGED;
    m.rawX = report[3];
    m.rawY = report[4];
    m.rawZ = report[5];
    const calibration_t& c = Internal.calibrationInfo;
    if (c.zeroX != 0) {
        m.x = Scale(m.rawX, c.zeroX, c.oneX);
        m.y = Scale(m.rawY, c.zeroY, c.oneY);
        m.z = Scale(m.rawZ, c.zeroZ, c.oneZ);
    } else {
        m.x = m.y = m.z = 0.0f;
    }
    if (EstimateOrientation(m)) changed |= ORIENTATION_CHANGED;
    return changed;
}

bool wiimote::EstimateOrientation(motion& record) {
    const float x = record.x, y = record.y, z = record.z;
    const float s = x * x + y * y + z * z;
    constexpr float t = 0.2f;
    const double low = 1.0 - static_cast<double>(t), high = 1.0 + static_cast<double>(t);
    const double sd = s;
    if (sd >= low && sd <= high) {  // NaN fails both and counts as moving
        if (++stillSamples_ < 2) return false;
        const float k = 1.0f / std::sqrt(s);
        const float nx = x * k, ny = y * k, nz = z * k;
        float pitch = -std::asin(ny) * kRadToDeg;
        float roll = std::atan2(nx, nz) * kRadToDeg;
        if (nz < 0.0f) {
            pitch = (ny < 0.0f ? 180.0f : -180.0f) - pitch;
            roll = (nx < 0.0f ? -180.0f : 180.0f) - roll;
        }
        record.orientation.x = nx;
        record.orientation.y = ny;
        record.orientation.z = nz;
        record.orientation.pitch = pitch;
        record.orientation.roll = roll;
        record.orientation.updateAge = 0;
        return true;
    }
    stillSamples_ = 0;
    ++record.orientation.updateAge;
    return false;
}

void wiimote::ApplyDeadZone(joystick& stick) {
    ApplyAxisDeadZone(stick.x, stick.deadZoneX);
    ApplyAxisDeadZone(stick.y, stick.deadZoneY);
}

float wiimote::BalanceBoardKg(std::uint16_t raw, std::uint16_t kg0, std::uint16_t kg17, std::uint16_t kg34) {
    const int r = static_cast<std::int16_t>(raw), p0 = static_cast<std::int16_t>(kg0),
              p17 = static_cast<std::int16_t>(kg17), p34 = static_cast<std::int16_t>(kg34);
    if (p17 == p0) return 0.0f;
    double kg;
    if (r < p17) {
        kg = 68.0 * (r - p0) / (p17 - p0);
    } else {
        if (p34 == p17) return 0.0f;
        kg = 68.0 + 68.0 * (r - p17) / (p34 - p17);
    }
    return static_cast<float>(kg) * 0.25f;
}

std::uint32_t wiimote::ParseExtension(unsigned offset, const unsigned char* report) {
    const unsigned char* e = report + offset;
    std::uint32_t changed = 0;
    switch (Internal.extensionType) {
        case NUNCHUK: {
            nunchuk_t& n = Internal.nunchuk;
            const bool c = !(e[5] & 0x02), z = !(e[5] & 0x01);
            if (c != n.c || z != n.z) changed |= NUNCHUK_BUTTONS_CHANGED;
            n.c = c;
            n.z = z;

            motion& m = n.acceleration;
            if (e[2] != m.rawX || e[3] != m.rawY || e[4] != m.rawZ) changed |= NUNCHUK_ACCEL_CHANGED;
            m.rawX = e[2];
            m.rawY = e[3];
            m.rawZ = e[4];
            const nunchuk_t::calibration& cal = n.calibrationInfo;
            m.x = Scale(m.rawX, cal.zeroX, cal.oneX);
            m.y = Scale(m.rawY, cal.zeroY, cal.oneY);
            m.z = Scale(m.rawZ, cal.zeroZ, cal.oneZ);
            if (EstimateOrientation(m)) changed |= NUNCHUK_ORIENTATION_CHANGED;

            joystick& s = n.stick;
            if (e[0] != s.rawX || e[1] != s.rawY) changed |= NUNCHUK_JOYSTICK_CHANGED;
            s.rawX = e[0];
            s.rawY = e[1];
            s.deadZoneX = nunchuk.stick.deadZoneX;
            s.deadZoneY = nunchuk.stick.deadZoneY;
            joystick scaled = s;
            bool xNew = StickAxis(s.rawX, cal.minX, cal.midX, cal.maxX, scaled.x);
            bool yNew = StickAxis(s.rawY, cal.minY, cal.midY, cal.maxY, scaled.y);
            ApplyDeadZone(scaled);
            if (xNew) s.x = scaled.x;
            if (yNew) s.y = scaled.y;
            break;
        }
        case CLASSIC:
        case GH3_GHWT_GUITAR:
        case GHWT_DRUMS: {
            classic_t& cc = Internal.classicController;
            const std::uint16_t word = static_cast<std::uint16_t>(~(e[4] | e[5] << 8));
            if (word != cc.buttonsWord) changed |= CLASSIC_BUTTONS_CHANGED;
            cc.buttonsWord = word;

            const float lx = e[0] & 0x3F, ly = e[1] & 0x3F;
            if (lx != cc.stickL.rawX || ly != cc.stickL.rawY) changed |= CLASSIC_JOYSTICK_L_CHANGED;
            cc.stickL.rawX = lx;
            cc.stickL.rawY = ly;
            const float rx = ((e[0] & 0xC0) >> 3) | ((e[1] & 0xC0) >> 5) | (e[2] >> 7);
            const float ry = e[2] & 0x1F;
            if (rx != cc.stickR.rawX || ry != cc.stickR.rawY) changed |= CLASSIC_JOYSTICK_R_CHANGED;
            cc.stickR.rawX = rx;
            cc.stickR.rawY = ry;

            const classic_t::calibration& cal = cc.calibrationInfo;
            cc.stickL.deadZoneX = classicController.stickL.deadZoneX;
            cc.stickL.deadZoneY = classicController.stickL.deadZoneY;
            cc.stickR.deadZoneX = classicController.stickR.deadZoneX;
            cc.stickR.deadZoneY = classicController.stickR.deadZoneY;
            joystick left = cc.stickL, right = cc.stickR;
            const bool lxNew = StickAxis(lx, cal.minXL, cal.midXL, cal.maxXL, left.x);
            const bool lyNew = StickAxis(ly, cal.minYL, cal.midYL, cal.maxYL, left.y);
            const bool rxNew = StickAxis(rx, cal.minXR, cal.midXR, cal.maxXR, right.x);
            const bool ryNew = StickAxis(ry, cal.minYR, cal.midYR, cal.maxYR, right.y);
            ApplyDeadZone(left);
            ApplyDeadZone(right);
            if (lxNew) cc.stickL.x = left.x;
            if (lyNew) cc.stickL.y = left.y;
            if (rxNew) cc.stickR.x = right.x;
            if (ryNew) cc.stickR.y = right.y;

            const std::uint8_t tl = static_cast<std::uint8_t>(((e[2] & 0x60) >> 2) | (e[3] >> 5));
            const std::uint8_t tr = static_cast<std::uint8_t>(e[3] & 0x1F);
            if (tl != cc.rawTriggerL || tr != cc.rawTriggerR) changed |= CLASSIC_TRIGGERS_CHANGED;
            cc.rawTriggerL = tl;
            cc.rawTriggerR = tr;
            if (cal.maxTriggerL != 0 && cal.maxTriggerL != cal.minTriggerL)
                cc.triggerL = static_cast<float>(tl) / static_cast<float>(cal.maxTriggerL - cal.minTriggerL);
            if (cal.maxTriggerR != 0 && cal.maxTriggerR != cal.minTriggerR)
                cc.triggerR = static_cast<float>(tr) / static_cast<float>(cal.maxTriggerR - cal.minTriggerR);
            break;
        }
        case BALANCE_BOARD: {
            balance_board_t& bb = Internal.balanceBoard;
            const std::uint16_t w[4] = {BigEndian(e), BigEndian(e + 2), BigEndian(e + 4), BigEndian(e + 6)};
            const std::uint16_t raw[4] = {w[0], w[2], w[1], w[3]};
            if (std::memcmp(raw, bb.raw, sizeof raw) != 0) changed |= BALANCE_WEIGHT_CHANGED;
            std::memcpy(bb.raw, raw, sizeof raw);

            // Weights in the order W2, W0, W3, W1: their places in the stored order.
            constexpr int kStored[4] = {1, 0, 3, 2};
            const balance_board_t::calibration& cal = bb.calibrationInfo;
            float kg[4];
            for (int i = 0; i < 4; ++i) {
                const int s = kStored[i];
                kg[i] =
                    cal.kg34[s] == cal.kg17[s] ? 0.0f : BalanceBoardKg(bb.raw[s], cal.kg0[s], cal.kg17[s], cal.kg34[s]);
            }
            if (tareRequested_) {
                for (int i = 0; i < 4; ++i) bb.atRest[i] = kg[i];
                bb.atRest[4] = bb.kg[4];
                tareRequested_ = false;
            }
            float total = 0.0f;
            for (int i = 0; i < 4; ++i) {
                bb.kg[i] = kg[i] - balanceBoard.atRest[i];
                total += bb.kg[i];
            }
            bb.kg[4] = total;
            for (int i = 0; i < 5; ++i) bb.lb[i] = bb.kg[i] * 2.2046225f;
            break;
        }
        case MOTION_PLUS: {
            motionPlusDetected_ = motionPlusActive_ = true;
            const std::uint16_t yaw = static_cast<std::uint16_t>(e[0] | (e[3] & 0xFC) << 6);
            const std::uint16_t roll = static_cast<std::uint16_t>(e[1] | (e[4] & 0xFC) << 6);
            const std::uint16_t pitch = static_cast<std::uint16_t>(e[2] | (e[5] & 0xFC) << 6);
            if (yaw == 0x3FFF && roll == 0x3FFF && pitch == 0x3FFF) return 0;
            motion_plus_t& mp = Internal.motionPlus;
            if (yaw != mp.rawYaw || pitch != mp.rawPitch || roll != mp.rawRoll) changed |= MOTIONPLUS_SPEED_CHANGED;
            mp.rawYaw = yaw;
            mp.rawPitch = pitch;
            mp.rawRoll = roll;
            mp.yaw = static_cast<float>(8063 - yaw) * ((e[3] & 0x02) ? 0.05f : 0.25f);
            mp.pitch = static_cast<float>(8063 - pitch) * ((e[3] & 0x01) ? 0.05f : 0.25f);
            mp.roll = static_cast<float>(8063 - roll) * ((e[4] & 0x02) ? 0.05f : 0.25f);
            const bool plugged = e[4] & 0x01;
            if (plugged != motionPlusExtension_)
                changed |= plugged ? MOTIONPLUS_EXTENSION_CONNECTED : MOTIONPLUS_EXTENSION_DISCONNECTED;
            motionPlusExtension_ = plugged;
            break;
        }
        default: break;
    }
    return changed;
}

std::uint32_t wiimote::OnMemoryRead(const unsigned char* report) {
    const unsigned char info = report[3];
    const unsigned error = info & 0x0F;
    const unsigned address = static_cast<unsigned>(report[4] << 8 | report[5]);
    const unsigned char* data = report + 6;

    if (error & 0x08) {
        DebugPrint("WiiRemote : * error: read address not valid. *\n");
        return 0;
    }
    if (error & 0x07) {
        if (probesOutstanding_ > 0) {
            // A probe for a MotionPlus that is not there: expected, and silent.
            --probesOutstanding_;
            if (Internal.extensionType == MOTION_PLUS) motionPlusDetected_ = motionPlusActive_ = false;
            return 0;
        }
        DebugPrint("WiiRemote : * error: attempt to read from write-only register 0x%X. *\n", info);
        return 0;
    }

    std::uint32_t changed = 0;
    switch (address) {
        case 0x0016: {
            calibration_t& c = Internal.calibrationInfo;
            c.zeroX = data[0];
            c.zeroY = data[1];
            c.zeroZ = data[2];
            c.oneX = data[4];
            c.oneY = data[5];
            c.oneZ = data[6];
            return 0;
        }
        case 0x00FA: {
            for (const auto& inactive : kInactiveMotionPlus) {
                if (std::memcmp(data, inactive, 8) == 0) {
                    if (!motionPlusDetected_) changed |= MOTIONPLUS_DETECTED;
                    motionPlusDetected_ = true;
                    if (probesOutstanding_ > 0) --probesOutstanding_;
                    return changed;
                }
            }
            std::uint32_t kind = NONE;
            for (const Identification& id : kIdentifications)
                if (std::memcmp(data, id.bytes, 8) == 0) kind = id.kind;
            switch (kind) {
                case NUNCHUK:
                case CLASSIC:
                case GH3_GHWT_GUITAR:
                case GHWT_DRUMS:
                case BALANCE_BOARD:
                    if (kind != Internal.extensionType) {
                        Internal.extensionType = kind;
                        motionPlusActive_ = false;
                        if (kind == BALANCE_BOARD)
                            ReadMemory(0x04A40024, 24);
                        else
                            ReadMemory(0x04A40020, 16);
                    }
                    break;
                case MOTION_PLUS:
                    if (kind != Internal.extensionType) {
                        Internal.extensionType = kind;
                        motionPlusDetected_ = true;
                        ReadMemory(0x04A40020, 16);
                    }
                    break;
                case PARTIALLY_INSERTED:
                    if (Internal.extensionType == PARTIALLY_INSERTED) SleepMs(50);
                    Internal.extensionType = PARTIALLY_INSERTED;
                    motionPlusActive_ = false;
                    Internal.extensionConnected = false;
                    RequestStatus();
                    return EXTENSION_PARTIALLY_INSERTED;
                default: break;
            }
            return 0;
        }
        case 0x0020:
        case 0x0024:
            switch (Internal.extensionType) {
                case NUNCHUK: {
                    nunchuk_t::calibration& c = Internal.nunchuk.calibrationInfo;
                    c.zeroX = data[0];
                    c.zeroY = data[1];
                    c.zeroZ = data[2];
                    c.oneX = data[4];
                    c.oneY = data[5];
                    c.oneZ = data[6];
                    c.maxX = data[8];
                    c.minX = data[9];
                    c.midX = data[10];
                    c.maxY = data[11];
                    c.minY = data[12];
                    c.midY = data[13];
                    changed |= NUNCHUK_CONNECTED;
                    break;
                }
                case CLASSIC:
                case GH3_GHWT_GUITAR:
                case GHWT_DRUMS: {
                    classic_t::calibration& c = Internal.classicController.calibrationInfo;
                    c.maxXL = data[0] >> 2;
                    c.minXL = data[1] >> 2;
                    c.midXL = data[2] >> 2;
                    c.maxYL = data[3] >> 2;
                    c.minYL = data[4] >> 2;
                    c.midYL = data[5] >> 2;
                    c.maxXR = data[6] >> 3;
                    c.minXR = data[7] >> 3;
                    c.midXR = data[8] >> 3;
                    c.maxYR = data[9] >> 3;
                    c.minYR = data[10] >> 3;
                    c.midYR = data[11] >> 3;
                    c.minTriggerL = 0;
                    c.maxTriggerL = 31;
                    c.minTriggerR = 0;
                    c.maxTriggerR = 31;
                    changed |= CLASSIC_CONNECTED;
                    break;
                }
                case BALANCE_BOARD: {
                    balance_board_t::calibration& c = Internal.balanceBoard.calibrationInfo;
                    constexpr int kStored[4] = {0, 2, 1, 3};  // wire word -> stored place
                    for (int i = 0; i < 4; ++i) {
                        c.kg0[kStored[i]] = BigEndian(data + 2 * i);
                        c.kg17[kStored[i]] = BigEndian(data + 8 + 2 * i);
                    }
                    break;
                }
                case MOTION_PLUS:
                    motionPlusActive_ = true;
                    changed |= MOTIONPLUS_ENABLED;
                    extensionSettingUp_ = false;
                    break;
                default: break;
            }
            break;
        case 0x0034: break;
        default: return 0;
    }

    // After any of the extension's calibration replies.
    if (Internal.extensionType == BALANCE_BOARD) {
        balance_board_t::calibration& c = Internal.balanceBoard.calibrationInfo;
        constexpr int kStored[4] = {0, 2, 1, 3};
        for (int i = 0; i < 4; ++i) c.kg34[kStored[i]] = BigEndian(data + 2 * i);
        changed |= BALANCE_CONNECTED;
        if (connected_) {
            reportingMode_ = 0x32;
            DisableIR();
            Send({0x12, 0x00, 0x32});
        }
    }
    extensionSettingUp_ = false;
    return changed;
}

void wiimote::InitExtension() {
    extensionSettingUp_ = true;
    WriteMemoryByte(0x04A400F0, 0x55);
    WriteMemoryByte(0x04A400FB, 0x00);
    ReadMemory(0x04A400FA, 6);
}

void wiimote::ProbeMotionPlus() {
    {
        std::lock_guard<std::recursive_mutex> lock(stateLock_);
        ++probesOutstanding_;
    }
    ReadMemory(0x04A600FA, 6);
}
