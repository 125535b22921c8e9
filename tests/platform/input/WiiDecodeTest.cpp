// Decoding of the remote's input reports into state and change flags, fed to
// a driver connected to the fake remote (which then stays silent).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/input/WiiFakeRemote.h"
#include "platform/input/wiimote.h"

namespace {

using Bytes = std::vector<unsigned char>;

class WiiDecode : public ::testing::Test {
protected:
    void SetUp() override {
        fake.Watch(&d);
        ASSERT_TRUE(d.Connect());
        fake.SetAutoAnswer(false);
        d.RefreshState();
    }

    // Parses one report on this thread and returns the changes it handed over.
    std::uint32_t Feed(const Bytes& bytes) {
        unsigned char report[wiimote::REPORT_LENGTH] = {};
        for (std::size_t i = 0; i < bytes.size(); ++i) report[i] = bytes[i];
        d.ParseInput(report);
        return d.RefreshState();
    }
    // The same through the reader thread, as the remote would send it.
    std::uint32_t FeedThroughReader(const Bytes& bytes) {
        FakeWiiRemote::Report r{};
        for (std::size_t i = 0; i < bytes.size(); ++i) r[i] = bytes[i];
        fake.Push(r);
        EXPECT_TRUE(fake.WaitUntil([&] { return fake.Drained(); }));
        return d.RefreshState();
    }
    // A memory-read reply at a 16-bit address.
    static Bytes Reply(unsigned address, const Bytes& data, unsigned char error = 0) {
        const unsigned n = data.empty() ? 1 : static_cast<unsigned>(data.size());
        const unsigned char head[] = {0x21,
                                      0,
                                      0,
                                      static_cast<unsigned char>(((n - 1) << 4) | error),
                                      static_cast<unsigned char>(address >> 8),
                                      static_cast<unsigned char>(address)};
        // One buffer of the whole size, filled in place: appending to a
        // vector built from a brace list trips a false bounds warning of the
        // optimiser.
        Bytes r(std::size(head) + data.size());
        std::copy(std::begin(head), std::end(head), r.begin());
        std::copy(data.begin(), data.end(), r.begin() + static_cast<std::ptrdiff_t>(std::size(head)));
        return r;
    }
    static Bytes Status(unsigned char flags, unsigned char battery = 0xC0) {
        return {0x20, 0, 0, flags, 0, 0, battery};
    }
    // The output reports written since mark, as hex strings of their first n bytes.
    std::vector<std::string> SentSince(std::size_t mark, std::size_t n = 7) {
        std::vector<std::string> out;
        for (const auto& w : fake.WritesSince(mark)) {
            std::string s;
            char b[4];
            for (std::size_t i = 0; i < n; ++i) {
                std::snprintf(b, sizeof b, "%02X", w.bytes[i]);
                s += b;
            }
            out.push_back(s);
        }
        return out;
    }
    // Plugs an extension: status with the bit set, then the identification reply.
    std::uint32_t Identify(const Bytes& id) {
        Feed(Status(0x02));
        Bytes data = id;
        data.resize(16, 0);
        return Feed(Reply(0x00FA, Bytes(data.begin(), data.begin() + 6))) | 0;
    }

    FakeWiiRemote fake;
    wiimote d{fake.Finder()};
};

constexpr float kEps = 1e-4f;

}  // namespace

TEST_F(WiiDecode, ButtonsAreMaskedAndFlaggedOnlyWhenTheyChange) {
    struct Case {
        Bytes report;
        std::uint16_t word;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {{0x30, 0x00, 0x00}, 0x0000, 0},
        {{0x30, 0x1F, 0x9F}, 0x9F1F, 0x20},
        {{0x30, 0xFF, 0xFF}, 0x9F1F, 0},  // the unused bits are masked away
        {{0x30, 0x08, 0x00}, 0x0008, 0x20},
        {{0x3D, 0xFF, 0xFF}, 0x0008, 0},  // an unhandled report is ignored
        {{0x31, 0x00, 0x08, 0x80, 0x80, 0x80}, 0x0800, 0x20 | 0x40},
        {{0x32, 0x04, 0x00}, 0x0004, 0x20},
        {{0x21, 0x00, 0x80, 0x08, 0x00, 0x00}, 0x8000, 0x20},  // even an error reply carries buttons
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases) {
        EXPECT_EQ(Feed(c.report), c.flags) << std::hex << c.word;
        EXPECT_EQ(d.buttonsWord, c.word);
        EXPECT_EQ(d.GameButtons(), c.word);
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(WiiDecode, StatusReportFieldsAndFlags) {
    struct Case {
        unsigned char flags, battery;
        std::uint32_t changes;
        int leds, percent;
        bool low;
    };
    const Case cases[] = {
        {0x00, 0xC0, 0, 0, 0x60, false},
        {0x10, 0xC0, 0x10, 1, 0x60, false},
        {0x91, 0x20, 0x04 | 0x08 | 0x10, 9, 0x10, true},
        {0x91, 0x20, 0, 9, 0x10, true},  // still low: not drained again
        {0x90, 0x22, 0x04, 9, 0x11, false},
        {0x91, 0x22, 0x08, 9, 0x11, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Feed(Status(c.flags, c.battery)), c.changes) << int(c.flags) << " " << int(c.battery);
        EXPECT_EQ(d.leds, c.leds);
        EXPECT_EQ(d.batteryRaw, c.battery);
        EXPECT_EQ(d.batteryPercent, c.percent);
        EXPECT_EQ(d.batteryLow, c.low);
    }
}

TEST_F(WiiDecode, AccelerometerAndOrientationOnTheSecondStillSample) {
    // Calibration from the connection: zero-g 0x80, one-g 0x9A.
    struct Case {
        unsigned char x, y, z;
        std::uint32_t flags;
        float gz;
        std::uint32_t age;
    };
    const Case cases[] = {
        {0x80, 0x80, 0x9A, 0x40, 1.0f, 0},  // first still sample: no orientation yet
        {0x80, 0x80, 0x9A, 0x80, 1.0f, 0},  // the second one gives it
        {0x80, 0x80, 0xB4, 0x40, 2.0f, 1},  // moving: ages
        {0x80, 0x80, 0xB4, 0x00, 2.0f, 2},  {0x80, 0x80, 0x66, 0x40, -1.0f, 2},  // upside down, first still sample
        {0x80, 0x80, 0x66, 0x80, -1.0f, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Feed({0x31, 0, 0, c.x, c.y, c.z}), c.flags) << int(c.z);
        EXPECT_FLOAT_EQ(d.acceleration.z, c.gz);
        // A report without changes is not handed over: the reader's copy holds the age.
        EXPECT_EQ(d.ReaderState().acceleration.orientation.updateAge, c.age) << int(c.z);
        EXPECT_EQ(d.acceleration.rawZ, c.z);
    }
    // Upside down, level: the pitch folds to -180 and the roll comes back near 0.
    EXPECT_FLOAT_EQ(d.acceleration.orientation.pitch, -180.0f);
    EXPECT_NEAR(d.acceleration.orientation.roll, 0.0f, 0.001f);
    EXPECT_FLOAT_EQ(d.acceleration.orientation.z, -1.0f);

    // Reports 0x33, 0x35 and 0x37 carry the accelerometer at bytes 3 to 5 too.
    for (unsigned char id : {0x33, 0x35, 0x37}) {
        Feed({id, 0, 0, 0x8D, 0x80, 0x80});
        EXPECT_FLOAT_EQ(d.acceleration.x, 0.5f) << int(id);
        Feed({0x31, 0, 0, 0x80, 0x80, 0x80});
    }

    // Without calibration (zero-g x of 0) every axis reads 0 and the estimate ages.
    Feed(Reply(0x0016, {0, 0, 0, 0, 0, 0, 0}));
    const std::uint32_t age = d.ReaderState().acceleration.orientation.updateAge;
    EXPECT_EQ(Feed({0x31, 0, 0, 0x90, 0x70, 0xA0}), 0x40u);
    EXPECT_EQ(d.acceleration.x, 0.0f);
    EXPECT_EQ(d.acceleration.y, 0.0f);
    EXPECT_EQ(d.acceleration.z, 0.0f);
    EXPECT_EQ(d.acceleration.orientation.updateAge, age + 1);
}

TEST_F(WiiDecode, OrientationEstimateFoldsPitchAndRollWhenUpsideDown) {
    struct Case {
        float x, y, z;
        bool still;
        float pitch, roll;
    };
    const float c30 = std::sqrt(3.0f) / 2.0f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0, 0, 1, true, 0, 0},           {0, 0, -1, true, -180, 0},
        {0, 0.5f, c30, true, -30, 0},    {0, 0.5f, -c30, true, -150, 0},
        {0, -0.5f, -c30, true, 150, 0},  {0.5f, 0, c30, true, 0, 30},
        {0.5f, 0, -c30, true, -180, 30}, {-0.5f, 0, -c30, true, -180, -30},
        {0, 0, 1.09f, true, 0, 0},   // s = 1.19: still
        {0, 0, 1.1f, false, 0, 0},   // s = 1.21: moving
        {0, 0, 0.9f, true, 0, 0},    // s = 0.81
        {0, 0, 0.89f, false, 0, 0},  // s = 0.79
        {nan, 0, 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        wiimote_state::motion m;
        m.x = 0;
        m.y = 0;
        m.z = 0;
        EXPECT_FALSE(d.EstimateOrientation(m));  // a moving sample resets the still count
        m.x = c.x;
        m.y = c.y;
        m.z = c.z;
        EXPECT_FALSE(d.EstimateOrientation(m));
        EXPECT_EQ(d.EstimateOrientation(m), c.still) << c.x << " " << c.y << " " << c.z;
        if (c.still) {
            EXPECT_NEAR(m.orientation.pitch, c.pitch, 0.01f) << c.x << " " << c.y << " " << c.z;
            EXPECT_NEAR(m.orientation.roll, c.roll, 0.01f) << c.x << " " << c.y << " " << c.z;
            EXPECT_EQ(m.orientation.updateAge, 0u);
        } else {
            EXPECT_EQ(m.orientation.updateAge, 3u);
        }
    }
}

TEST(WiiDeadZone, ScalesOutsideTheZoneAndZeroesInside) {
    struct Case {
        float v, d, expect;
    };
    const Case cases[] = {
        {0.1f, 0.2f, 0.0f},  {0.6f, 0.2f, 0.5f}, {-0.6f, 0.2f, -0.5f}, {0.2f, 0.2f, 0.0f},
        {-0.2f, 0.2f, 0.0f}, {1.0f, 0.2f, 1.0f}, {0.6f, 0.0f, 0.6f},   {0.6f, -0.1f, 0.6f},
        {0.6f, 1.5f, 0.6f},  {0.9f, 1.0f, 0.0f}, {1.2f, 1.0f, 1.2f},  // no division by zero at d = 1
    };
    for (const Case& c : cases) {
        wiimote_state::joystick s;
        s.x = c.v;
        s.y = -c.v;
        s.deadZoneX = c.d;
        s.deadZoneY = c.d;
        wiimote::ApplyDeadZone(s);
        EXPECT_NEAR(s.x, c.expect, kEps) << c.v << " " << c.d;
        EXPECT_NEAR(s.y, -c.expect, kEps) << c.v << " " << c.d;
    }
}

TEST(WiiBalanceBoardKg, InterpolatesBetweenTheCalibrationPoints) {
    struct Case {
        std::uint16_t raw, p0, p17, p34;
        float kg;
    };
    const Case cases[] = {
        {1000, 1000, 2000, 3000, 0.0f},  {1500, 1000, 2000, 3000, 8.5f},  {2000, 1000, 2000, 3000, 17.0f},
        {2500, 1000, 2000, 3000, 25.5f}, {3000, 1000, 2000, 3000, 34.0f}, {500, 1000, 2000, 3000, -8.5f},
        {1500, 1000, 1000, 3000, 0.0f},  // 17 kg point equals the 0 kg point
        {2500, 1000, 2000, 2000, 0.0f},  // no range above 17 kg
        {0xFFFF, 0, 4, 8, -4.25f},       // compared as signed 16-bit values
    };
    for (const Case& c : cases)
        EXPECT_NEAR(wiimote::BalanceBoardKg(c.raw, c.p0, c.p17, c.p34), c.kg, kEps) << c.raw << " " << c.p17;
}

TEST_F(WiiDecode, NunchukIdentificationCalibrationAndData) {
    std::size_t mark = fake.WriteCount();
    EXPECT_EQ(Feed(Status(0x02)), 0u);  // no flag until it is identified
    EXPECT_TRUE(d.ExtensionBeingSetUp());
    EXPECT_EQ(SentSince(mark), (std::vector<std::string>{"1604A400F00155", "1604A400FB0100", "1704A400FA0006"}));

    mark = fake.WriteCount();
    EXPECT_EQ(Feed(Reply(0x00FA, {0x00, 0x00, 0xA4, 0x20, 0x00, 0x00})), 0u);
    EXPECT_EQ(d.ReaderState().extensionType, wiimote::NUNCHUK);  // no flag yet: not handed over
    EXPECT_EQ(SentSince(mark), (std::vector<std::string>{"1704A400200010"}));
    EXPECT_TRUE(d.ExtensionBeingSetUp());

    const Bytes calibration = {0x80, 0x80, 0x80, 0, 0xB3, 0xB3, 0xB3, 0, 0xE0, 0x20, 0x80, 0xE0, 0x20, 0x80, 0, 0};
    EXPECT_EQ(Feed(Reply(0x0020, calibration)), 0x200u);
    EXPECT_FALSE(d.ExtensionBeingSetUp());
    EXPECT_EQ(d.nunchuk.calibrationInfo.maxX, 0xE0);
    EXPECT_EQ(d.nunchuk.calibrationInfo.minY, 0x20);
    EXPECT_EQ(d.nunchuk.calibrationInfo.midY, 0x80);

    // Stick right, accelerometer at 1 g on z, Z pressed (bits clear mean pressed).
    EXPECT_EQ(Feed({0x32, 0, 0, 0xC0, 0x80, 0x80, 0x80, 0xB3, 0x02}), 0x400u | 0x800u | 0x2000u);
    EXPECT_TRUE(d.nunchuk.z);
    EXPECT_FALSE(d.nunchuk.c);
    EXPECT_NEAR(d.nunchuk.stick.x, 2.0f * 64 / 192, kEps);
    EXPECT_NEAR(d.nunchuk.stick.y, 0.0f, kEps);
    EXPECT_EQ(d.nunchuk.stick.rawX, 192.0f);
    EXPECT_FLOAT_EQ(d.nunchuk.acceleration.z, 1.0f);
    EXPECT_EQ(Feed({0x32, 0, 0, 0xC0, 0x80, 0x80, 0x80, 0xB3, 0x02}), 0x1000u);  // second still sample

    // A dead zone set in the game's copy takes effect and survives refreshes.
    const float zones[6] = {0.2f, 0.2f, 0, 0, 0, 0};
    d.SetDeadZones(zones);
    EXPECT_EQ(Feed({0x32, 0, 0, 0xC0, 0x8C, 0x80, 0x80, 0xB3, 0x01}), 0x400u | 0x1000u | 0x2000u);
    EXPECT_NEAR(d.nunchuk.stick.x, (2.0f * 64 / 192 - 0.2f) / 0.8f, kEps);
    EXPECT_NEAR(d.nunchuk.stick.y, 0.0f, kEps);  // 2 * 12 / 192 = 0.125, inside the zone
    EXPECT_FLOAT_EQ(d.nunchuk.stick.deadZoneX, 0.2f);
    EXPECT_TRUE(d.nunchuk.c);

    // Through reports 0x35 and 0x37 the extension bytes start at 6 and 16.
    Feed({0x35, 0, 0, 0x80, 0x80, 0x80, 0x40, 0x80, 0x80, 0x80, 0xB3, 0x03});
    EXPECT_EQ(d.nunchuk.stick.rawX, 64.0f);
    Bytes r37(22, 0);
    r37[0] = 0x37;
    r37[3] = r37[4] = r37[5] = 0x80;
    r37[16] = 0x20;
    r37[17] = 0x80;
    r37[21] = 0x03;
    Feed(r37);
    EXPECT_EQ(d.nunchuk.stick.rawX, 32.0f);
    EXPECT_NEAR(d.nunchuk.stick.x, (2.0f * 96 / 192 - 0.2f) / 0.8f * -1.0f, kEps);
    EXPECT_EQ(d.RefreshState(), 0u);  // nothing pending: nothing copied
}

TEST_F(WiiDecode, ExtensionWithEmptyCalibrationRangesNeverYieldsInfinity) {
    Identify({0x00, 0x00, 0xA4, 0x20, 0x00, 0x00});
    // zero-g equals one-g, and stick maximum equals minimum.
    Feed(Reply(0x0020, {0x80, 0x80, 0x80, 0, 0x80, 0x80, 0x80, 0, 0x80, 0x80, 0x80, 0, 0, 0, 0, 0}));
    Feed({0x32, 0, 0, 0xC0, 0x40, 0x90, 0x70, 0xA0, 0x03});
    for (float v : {d.nunchuk.acceleration.x, d.nunchuk.acceleration.y, d.nunchuk.acceleration.z, d.nunchuk.stick.x,
                    d.nunchuk.stick.y}) {
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_EQ(v, 0.0f);
    }
    // The Classic Controller the same way.
    Feed(Status(0x00));
    Identify({0x00, 0x00, 0xA4, 0x20, 0x01, 0x01});
    Feed(Reply(0x0020, Bytes(16, 0x40)));
    Feed({0x32, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    for (float v : {d.classicController.stickL.x, d.classicController.stickL.y, d.classicController.stickR.x,
                    d.classicController.stickR.y})
        EXPECT_EQ(v, 0.0f);
}

TEST_F(WiiDecode, ClassicControllerLayout) {
    bool first = true;
    for (const Bytes& id : {Bytes{0x00, 0x00, 0xA4, 0x20, 0x01, 0x01}, Bytes{0x00, 0x00, 0xA4, 0x20, 0x01, 0x03},
                            Bytes{0x01, 0x00, 0xA4, 0x20, 0x01, 0x03}}) {
        Feed(Status(0x00));
        const std::size_t mark = fake.WriteCount();
        Identify(id);
        EXPECT_EQ(d.ReaderState().extensionType, id[0] == 1 ? 4u : id[5] == 3 ? 3u : 2u);
        EXPECT_EQ(SentSince(mark).back(), "1704A400200010");

        // Left stick 0..63 around 32, right stick 0..31 around 16.
        const Bytes cal = {0xFC, 0x00, 0x80, 0xFC, 0x00, 0x80, 0xF8, 0x00, 0x80, 0xF8, 0x00, 0x80, 0, 0, 0, 0};
        EXPECT_EQ(Feed(Reply(0x0020, cal)), 0x4000u);
        const auto& c = d.classicController.calibrationInfo;
        EXPECT_EQ(c.maxXL, 63);
        EXPECT_EQ(c.midXL, 32);
        EXPECT_EQ(c.maxYR, 31);
        EXPECT_EQ(c.midYR, 16);
        EXPECT_EQ(c.maxTriggerL, 31);

        // Left stick x 48, y 16; right stick x 0b11011 = 27, y 8; triggers 0b10110 = 22 and 31;
        // buttons: the word's bits are clear when pressed.
        const unsigned char e0 = 0xC0 | 48, e1 = 0x40 | 16, e2 = 0x80 | 0x40 | 8, e3 = 0xC0 | 0x1F;
        const std::uint32_t flags = Feed({0x32, 0, 0, e0, e1, e2, e3, 0xFE, 0xFF});
        if (first) {
            EXPECT_EQ(flags, 0x8000u | 0x10000u | 0x20000u | 0x40000u);
        }
        first = false;
        const auto& cc = d.classicController;
        EXPECT_EQ(cc.buttonsWord, 0x0001);
        EXPECT_EQ(cc.stickL.rawX, 48.0f);
        EXPECT_EQ(cc.stickL.rawY, 16.0f);
        EXPECT_EQ(cc.stickR.rawX, 27.0f);
        EXPECT_EQ(cc.stickR.rawY, 8.0f);
        EXPECT_NEAR(cc.stickL.x, 2.0f * 16 / 63, kEps);
        EXPECT_NEAR(cc.stickL.y, -2.0f * 16 / 63, kEps);
        EXPECT_NEAR(cc.stickR.x, 2.0f * 11 / 31, kEps);
        EXPECT_NEAR(cc.stickR.y, -2.0f * 8 / 31, kEps);
        EXPECT_EQ(cc.rawTriggerL, 22);
        EXPECT_EQ(cc.rawTriggerR, 31);
        EXPECT_NEAR(cc.triggerL, 22.0f / 31, kEps);
        EXPECT_NEAR(cc.triggerR, 1.0f, kEps);
        EXPECT_EQ(Feed({0x32, 0, 0, e0, e1, e2, e3, 0xFE, 0xFF}), 0u);
    }
}

TEST_F(WiiDecode, BalanceBoardTwoReplyCalibrationWeightsAndTare) {
    std::size_t mark = fake.WriteCount();
    Identify({0x00, 0x00, 0xA4, 0x20, 0x04, 0x02});
    EXPECT_EQ(d.ReaderState().extensionType, wiimote::BALANCE_BOARD);
    EXPECT_EQ(SentSince(mark).back(), "1704A400240018");

    // Wire sensors W0..W3 with the points p0 = 1000 (k + 1), p17 = p0 + 1000, p34 = p0 + 2000.
    auto be = [](unsigned v) { return Bytes{static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)}; };
    Bytes first, second;
    for (unsigned k = 0; k < 4; ++k) {
        Bytes v = be(1000 * (k + 1));
        first.insert(first.end(), v.begin(), v.end());
    }
    for (unsigned k = 0; k < 4; ++k) {
        Bytes v = be(1000 * (k + 1) + 1000);
        first.insert(first.end(), v.begin(), v.end());
    }
    for (unsigned k = 0; k < 4; ++k) {
        Bytes v = be(1000 * (k + 1) + 2000);
        second.insert(second.end(), v.begin(), v.end());
    }
    mark = fake.WriteCount();
    EXPECT_EQ(Feed(Reply(0x0024, first)), 0x80000u);
    EXPECT_EQ(d.ReportingMode(), 0x32u);
    EXPECT_EQ(SentSince(mark, 3), (std::vector<std::string>{"130000", "1A0000", "120032"}));
    EXPECT_EQ(Feed(Reply(0x0034, second)), 0x80000u);
    EXPECT_FALSE(d.ExtensionBeingSetUp());
    const auto& cal = d.balanceBoard.calibrationInfo;
    // Stored in the order W0, W2, W1, W3.
    EXPECT_EQ(cal.kg0[0], 1000);
    EXPECT_EQ(cal.kg0[1], 3000);
    EXPECT_EQ(cal.kg0[2], 2000);
    EXPECT_EQ(cal.kg17[1], 4000);
    EXPECT_EQ(cal.kg34[3], 6000);

    // W0 at its 0 kg point, W1 at 17 kg, W2 at 34 kg, W3 half way to 17 kg.
    Bytes data;
    for (unsigned v : {1000u, 3000u, 5000u, 4500u}) {
        Bytes b = be(v);
        data.insert(data.end(), b.begin(), b.end());
    }
    Bytes report = {0x32, 0, 0};
    report.insert(report.end(), data.begin(), data.end());
    EXPECT_EQ(Feed(report), 0x100000u);
    const auto& bb = d.balanceBoard;
    EXPECT_EQ(bb.raw[0], 1000);
    EXPECT_EQ(bb.raw[1], 5000);
    EXPECT_EQ(bb.raw[2], 3000);
    EXPECT_EQ(bb.raw[3], 4500);
    // Weights in the order W2, W0, W3, W1, then the total; the tare asked for at
    // connection takes these as the resting values.
    const float expected[5] = {34.0f, 0.0f, 8.5f, 17.0f, 59.5f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(bb.kg[i], expected[i], kEps) << i;
        EXPECT_NEAR(bb.lb[i], expected[i] * 2.2046225f, 1e-3f) << i;
    }
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(bb.atRest[i], expected[i], kEps) << i;
    // The tare applies from the next report on.
    EXPECT_EQ(Feed(report), 0u);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(d.ReaderState().balanceBoard.kg[i], 0.0f, kEps) << i;

    // The accelerometer bytes are not read while the board is attached.
    Feed({0x35, 0, 0, 0x11, 0x22, 0x33});
    EXPECT_NE(d.acceleration.rawX, 0x11);
}

TEST_F(WiiDecode, MotionPlusProbesIdentificationAndSpeeds) {
    testing::internal::CaptureStderr();
    // A probe answered "inactive MotionPlus": detected once.
    d.ProbeMotionPlus();
    EXPECT_EQ(Feed(Reply(0x00FA, {0x00, 0x00, 0xA6, 0x20, 0x00, 0x05})), 0x200000u);
    EXPECT_TRUE(d.MotionPlusDetected());
    d.ProbeMotionPlus();
    EXPECT_EQ(Feed(Reply(0x00FA, {0x00, 0x00, 0xA6, 0x20, 0x04, 0x05})), 0u);
    // A failed probe is silent; a failed read nobody expected is reported.
    d.ProbeMotionPlus();
    Feed(Reply(0x00FA, {}, 0x07));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    Feed(Reply(0x00FA, {}, 0x07));
    Feed(Reply(0x0016, {}, 0x08));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WiiRemote : * error: attempt to read from write-only register 0x7. *\n"
              "WiiRemote : * error: read address not valid. *\n");

    // Identified as an active MotionPlus.
    const std::size_t mark = fake.WriteCount();
    Identify({0x00, 0x00, 0xA4, 0x20, 0x04, 0x05});
    EXPECT_EQ(d.ReaderState().extensionType, wiimote::MOTION_PLUS);
    EXPECT_EQ(SentSince(mark).back(), "1704A400200010");
    EXPECT_EQ(Feed(Reply(0x0020, Bytes(16, 0))), 0x400000u);
    EXPECT_TRUE(d.MotionPlusActive());
    EXPECT_FALSE(d.ExtensionBeingSetUp());

    // yaw 8063 - 100 (fast), roll 8063 + 40 (slow), pitch 8063 (slow); extension plugged in.
    auto speeds = [](unsigned yaw, unsigned roll, unsigned pitch, unsigned char slow3, unsigned char bits4) {
        return Bytes{0x32,
                     0,
                     0,
                     static_cast<unsigned char>(yaw),
                     static_cast<unsigned char>(roll),
                     static_cast<unsigned char>(pitch),
                     static_cast<unsigned char>(((yaw >> 8) << 2) | slow3),
                     static_cast<unsigned char>(((roll >> 8) << 2) | bits4),
                     static_cast<unsigned char>((pitch >> 8) << 2)};
    };
    EXPECT_EQ(Feed(speeds(7963, 8103, 8063, 0x01, 0x03)), 0x800000u | 0x1000000u);
    EXPECT_EQ(d.motionPlus.rawYaw, 7963);
    EXPECT_EQ(d.motionPlus.rawRoll, 8103);
    EXPECT_NEAR(d.motionPlus.yaw, 100 * 0.25f, kEps);
    EXPECT_NEAR(d.motionPlus.roll, -40 * 0.05f, kEps);
    EXPECT_NEAR(d.motionPlus.pitch, 0.0f, kEps);
    // Three 0x3FFF values are dropped whole, the plug bit included.
    EXPECT_EQ(Feed(speeds(0x3FFF, 0x3FFF, 0x3FFF, 0x00, 0x00)), 0u);
    EXPECT_EQ(d.motionPlus.rawYaw, 7963);
    EXPECT_EQ(Feed(speeds(7963, 8103, 8063, 0x01, 0x02)), 0x2000000u);
    // A failed probe while the kind is MotionPlus clears detection.
    d.ProbeMotionPlus();
    Feed(Reply(0x00FA, {}, 0x07));
    EXPECT_FALSE(d.MotionPlusDetected());
    EXPECT_FALSE(d.MotionPlusActive());
}

TEST_F(WiiDecode, PartiallyInsertedExtensionAsksForStatusAndRemovalClearsTheKind) {
    // Through the reader, whose own pause is the only thing that moves the clock here.
    FeedThroughReader(Status(0x02));
    std::size_t mark = fake.WriteCount();
    std::uint32_t before = fake.Now();
    const Bytes partial = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(FeedThroughReader(Reply(0x00FA, partial)), 0x8000000u);
    EXPECT_EQ(fake.Now() - before, 0u);
    EXPECT_EQ(d.extensionType, wiimote::PARTIALLY_INSERTED);
    EXPECT_FALSE(d.extensionConnected);
    EXPECT_EQ(SentSince(mark), std::vector<std::string>{"15000000000000"});

    // The status then finds the bit set and starts over; a repeat pauses 50 ms first.
    FeedThroughReader(Status(0x02));
    before = fake.Now();
    EXPECT_EQ(FeedThroughReader(Reply(0x00FA, partial)), 0x8000000u);
    EXPECT_EQ(fake.Now() - before, 50u);

    // Fully in: a Nunchuk. Then pulled out.
    Identify({0x00, 0x00, 0xA4, 0x20, 0x00, 0x00});
    EXPECT_EQ(d.ReaderState().extensionType, wiimote::NUNCHUK);
    EXPECT_EQ(Feed(Status(0x00)), 0x4000000u);
    EXPECT_EQ(d.extensionType, wiimote::NONE);
    EXPECT_FALSE(d.extensionConnected);
    EXPECT_FALSE(d.ExtensionBeingSetUp());
    EXPECT_EQ(Feed(Status(0x00)), 0u);
}

namespace {
std::vector<std::uint32_t> calls;
}  // namespace

TEST_F(WiiDecode, CallbackSeesTheChangesThatMeetItsMask) {
    calls.clear();
    d.ChangedCallback = [](wiimote&, std::uint32_t changed) { calls.push_back(changed); };
    Feed({0x30, 0x08, 0x00});
    Feed({0x30, 0x08, 0x00});                                   // nothing changed: no call
    Feed(Status(0x02));                                         // the status carries no buttons: released
    Feed(Reply(0x00FA, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));  // 0x8000000 is held back
    Feed(Status(0x00));
    EXPECT_EQ(calls, (std::vector<std::uint32_t>{0x20, 0x20}));
    Feed(Status(0x02));
    Feed(Reply(0x00FA, {0x00, 0x00, 0xA4, 0x20, 0x00, 0x00}));
    Feed(Status(0x00));
    EXPECT_EQ(calls, (std::vector<std::uint32_t>{0x20, 0x20, 0x4000000}));
    d.ChangedCallback = nullptr;
}
