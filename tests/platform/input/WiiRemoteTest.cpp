// The driver's connection, handshake, output path and rumble, and the game's
// wrapper, against the in-process fake remote.
#include <gtest/gtest.h>

#include <string>

#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/WiiFakeRemote.h"
#include "platform/input/WiiRemote.h"
#include "platform/input/wiimote.h"

namespace {

using Written = FakeWiiRemote::Written;

std::vector<Written> OfKind(const std::vector<Written>& all, unsigned char id) {
    std::vector<Written> out;
    for (const Written& w : all)
        if (w.bytes[0] == id) out.push_back(w);
    return out;
}

std::string Hex(const Written& w, std::size_t n) {
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02X", w.bytes[i]);
        s += b;
    }
    return s;
}

struct Driver {
    explicit Driver(FakeWiiRemote& fake) : remote(fake.Finder()) { fake.Watch(&remote); }
    wiimote remote;
};

}  // namespace

TEST(WiiHandshake, ConnectsOnTheDataChannelAndSetsTheRemoteUp) {
    FakeWiiRemote fake;
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    EXPECT_TRUE(d.remote.IsConnected());
    EXPECT_FALSE(d.remote.HidWriteMode());

    // The status request, then the reset of the report mode and the calibration read.
    std::vector<std::string> sent;
    for (const Written& w : fake.Writes()) {
        EXPECT_FALSE(w.control);
        sent.push_back(Hex(w, 7));
    }
    const std::vector<std::string> expected = {
        "15000000000000",  // status request
        "13000000000000",  // camera off, two steps
        "1A000000000000",
        "12003000000000",  // buttons-only reports
        "11000000000000",  // all LEDs off
        "14000000000000",  // speaker off
        "17000000160007",  // 7 bytes of calibration at 0x0016
    };
    EXPECT_EQ(sent, expected);
    // The calibration reply was parsed and handed to the game's copy by Connect.
    EXPECT_EQ(d.remote.calibrationInfo.zeroX, 0x80);
    EXPECT_EQ(d.remote.calibrationInfo.oneZ, 0x9A);
    EXPECT_EQ(d.remote.batteryPercent, 0x60);
}

TEST(WiiHandshake, RemoteThatTakesOnlyControlRequestsConnectsOnTheSecondTry) {
    FakeWiiRemote fake;
    fake.SetListens(false, true);
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    EXPECT_TRUE(d.remote.HidWriteMode());
    std::vector<Written> status = OfKind(fake.Writes(), 0x15);
    ASSERT_GE(status.size(), 2u);
    EXPECT_FALSE(status[0].control);
    EXPECT_TRUE(status[1].control);
    EXPECT_GE(status[1].time - status[0].time, 500u);
    // Everything after the switch goes as control requests, through the write thread.
    std::vector<Written> all = fake.Writes();
    for (std::size_t i = 1; i < all.size(); ++i) EXPECT_TRUE(all[i].control) << i;
    EXPECT_EQ(d.remote.calibrationInfo.zeroY, 0x80);
}

TEST(WiiHandshake, SilentRemoteIsNeverConnectedAndIsClosedAgain) {
    struct Case {
        bool hasControl;
        std::size_t requests;
        std::uint32_t waited;
    };
    for (Case c : {Case{true, 2, 1000}, Case{false, 1, 500}}) {
        FakeWiiRemote fake;
        fake.SetListens(false, false);
        fake.SetHasSetOutputReport(c.hasControl);
        Driver d(fake);
        const std::uint32_t start = fake.Now();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(d.remote.Connect());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("WiiRemote : * output failed - wiimote is not connected (or confused). *\n"),
                  std::string::npos);
        EXPECT_FALSE(d.remote.IsConnected());
        EXPECT_FALSE(fake.IsOpen());
        EXPECT_EQ(fake.Writes().size(), c.requests);
        EXPECT_GE(fake.Now() - start, c.waited);
    }
}

TEST(WiiHandshake, NoRemotePresent) {
    FakeWiiRemote fake;
    fake.SetPresent(false);
    Driver d(fake);
    EXPECT_FALSE(d.remote.Connect());
    EXPECT_FALSE(d.remote.IsConnected());
    EXPECT_TRUE(fake.Writes().empty());
    EXPECT_EQ(d.remote.RefreshState(), 0u);
    EXPECT_EQ(d.remote.GameButtons(), 0u);
}

TEST(WiiRumble, LaterCallReplacesTheEndTimeAndRumbleStopsOnce) {
    FakeWiiRemote fake;
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    fake.Hold();
    d.remote.RumbleFor(100);
    d.remote.RumbleFor(1000);
    const std::uint32_t start = fake.Now();
    fake.Release();
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.Now() - start >= 3000; }));
    auto changes = fake.RumbleChanges();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].second);
    EXPECT_EQ(changes[0].first, start);
    EXPECT_FALSE(changes[1].second);
    EXPECT_GE(changes[1].first - start, 1000u);
    EXPECT_LE(changes[1].first - start, 1005u);
    // One report switched it on and one off: the status requests carrying the bit.
    std::size_t on = 0;
    for (const Written& w : OfKind(fake.Writes(), 0x15)) on += w.bytes[1] & 1;
    EXPECT_GE(on, 1u);
}

TEST(WiiRumble, WorksAgainAfterAReconnectAndStopsOnDisconnect) {
    FakeWiiRemote fake;
    Driver d(fake);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(d.remote.Connect()) << round;
        d.remote.RumbleFor(50);
        ASSERT_TRUE(fake.WaitUntil([&] { return fake.RumbleChanges().size() == 2u * (round + 1); })) << round;
        EXPECT_FALSE(fake.RumbleChanges().back().second);
        d.remote.Disconnect();
    }
    // A remote let go of while rumbling is told to stop.
    ASSERT_TRUE(d.remote.Connect());
    d.remote.RumbleFor(60000);
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.RumbleChanges().size() == 5; }));
    d.remote.Disconnect();
    auto changes = fake.RumbleChanges();
    ASSERT_EQ(changes.size(), 6u);
    EXPECT_FALSE(changes.back().second);
    // Not connected: nothing happens.
    d.remote.RumbleFor(100);
    EXPECT_EQ(fake.RumbleChanges().size(), 6u);
}

TEST(WiiConnection, LostRemoteIsReportedAndFreesTheReader) {
    FakeWiiRemote fake;
    struct Counting : wiimote {
        using wiimote::wiimote;
        void ChangedNotifier(std::uint32_t changed) override { seen |= changed; }
        std::atomic<std::uint32_t> seen{0};
    };
    Counting remote(fake.Finder());
    fake.Watch(&remote);
    ASSERT_TRUE(remote.Connect());
    fake.Fail();
    ASSERT_TRUE(fake.WaitUntil([&] { return !remote.IsConnected(); }));
    ASSERT_TRUE(fake.WaitUntil([&] { return (remote.seen & wiimote::CONNECTION_LOST) != 0; }));
    EXPECT_NE(remote.RefreshState() & wiimote::CONNECTION_LOST, 0u);
    remote.Disconnect();
    EXPECT_FALSE(fake.IsOpen());
}

TEST(WiiConnection, ReaderAsksForStatusEverySecondAndProbesForMotionPlus) {
    FakeWiiRemote fake;
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    const std::size_t mark = fake.WriteCount();
    const std::uint32_t start = fake.Now();
    // Nothing else sleeps here, so let time pass through a rumble of 3.5 s.
    d.remote.RumbleFor(3500);
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.Now() - start >= 3400; }));
    std::vector<Written> since = fake.WritesSince(mark);
    std::vector<std::uint32_t> statusTimes, probeTimes;
    for (const Written& w : since) {
        if (w.bytes[0] == 0x15 && w.time != start && w.time - start < 3400) statusTimes.push_back(w.time);
        if (w.bytes[0] == 0x17 && Hex(w, 7) == "1705A600FA0006") probeTimes.push_back(w.time);
    }
    ASSERT_GE(statusTimes.size(), 2u);
    ASSERT_GE(probeTimes.size(), 2u);
    for (std::size_t i = 1; i < statusTimes.size(); ++i) {
        EXPECT_GE(statusTimes[i] - statusTimes[i - 1], 1000u);
        EXPECT_LE(statusTimes[i] - statusTimes[i - 1], 1050u);
    }
    // The failed probes are expected and silent; nothing is detected.
    EXPECT_FALSE(d.remote.MotionPlusDetected());
}

TEST(WiiConnection, BalanceBoardIsIdentifiedThroughTheReaderAndNeverProbed) {
    FakeWiiRemote fake;
    const unsigned char board[6] = {0x00, 0x00, 0xA4, 0x20, 0x04, 0x02};
    // Registers from 0xA40020: four bytes we do not read, then 24 bytes of calibration.
    std::vector<unsigned char> cal(4, 0);
    for (unsigned set = 0; set < 3; ++set)
        for (unsigned k = 0; k < 4; ++k) {
            const unsigned v = 1000 * (k + 1) + 1000 * set;
            cal.push_back(static_cast<unsigned char>(v >> 8));
            cal.push_back(static_cast<unsigned char>(v));
        }
    fake.SetExtension(board, cal);
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    ASSERT_TRUE(fake.WaitUntil([&] { return d.remote.ReportingMode() == 0x32 && !d.remote.ExtensionBeingSetUp(); }));
    const wiimote_state state = d.remote.ReaderState();
    EXPECT_EQ(state.extensionType, wiimote::BALANCE_BOARD);
    EXPECT_EQ(state.balanceBoard.calibrationInfo.kg34[1], 5000);  // W2's 34 kg point

    // Time goes on (a rumble keeps the clock moving): status requests, but no probes.
    const std::size_t mark = fake.WriteCount();
    const std::uint32_t start = fake.Now();
    d.remote.RumbleFor(2500);
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.Now() - start >= 2500; }));
    std::size_t status = 0, probes = 0;
    for (const Written& w : fake.WritesSince(mark)) {
        status += w.bytes[0] == 0x15;
        probes += w.bytes[0] == 0x17 && w.bytes[2] == 0xA6;
    }
    EXPECT_GE(status, 3u);
    EXPECT_EQ(probes, 0u);

    // Unplugged: the remote's own status report tells.
    fake.SetExtension(nullptr);
    ASSERT_TRUE(fake.WaitUntil([&] { return (d.remote.RefreshState() & wiimote::EXTENSION_DISCONNECTED) != 0; }));
    EXPECT_EQ(d.remote.extensionType, wiimote::NONE);
}

TEST(WiiWriteRing, FullRingRefusesTheNewestReportAndLosesNoQueuedOne) {
    FakeWiiRemote fake;
    fake.SetListens(false, true);
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    ASSERT_TRUE(d.remote.HidWriteMode());
    ASSERT_TRUE(fake.WaitUntil([&] { return d.remote.QueuedWrites() == 0; }));
    fake.SetStalled(true);
    testing::internal::CaptureStderr();
    // Tagged reads: 0x0100 + i.
    for (unsigned i = 0; i < 140; ++i) d.remote.ReadMemory(0x0100 + i, 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(d.remote.QueuedWrites(), wiimote::WRITE_RING_SIZE - 1);
    EXPECT_NE(err.find("WiiRemote : * HID write queue full - report 0x17 dropped. *\n"), std::string::npos);
    const std::size_t mark = fake.WriteCount();
    fake.SetAutoAnswer(false);
    fake.SetStalled(false);
    ASSERT_TRUE(fake.WaitUntil([&] { return d.remote.QueuedWrites() == 0; }));
    std::vector<unsigned> tags;
    for (const Written& w : fake.WritesSince(mark))
        if (w.bytes[0] == 0x17 && w.bytes[3] == 0x01) tags.push_back(w.bytes[4]);
    // The first reports queued are sent, each once and in order; none was overwritten.
    ASSERT_FALSE(tags.empty());
    for (std::size_t i = 0; i < tags.size(); ++i) EXPECT_EQ(tags[i], i) << i;
    EXPECT_GE(tags.size(), wiimote::WRITE_RING_SIZE - 1 - 4);  // a few places may hold the reader's requests
}

TEST(WiiWriteRing, WriteThreadRetriesBusyAndDropsUnsupported) {
    FakeWiiRemote fake;
    fake.SetListens(false, true);
    Driver d(fake);
    ASSERT_TRUE(d.remote.Connect());
    ASSERT_TRUE(fake.WaitUntil([&] { return d.remote.QueuedWrites() == 0; }));
    fake.SetAutoAnswer(false);
    std::size_t mark = fake.WriteCount();
    fake.ScriptControlResults({WiiTransport::kBusy, WiiTransport::kNotReady, WiiTransport::kBusy}, 0x11);
    d.remote.SetLEDs(0x5);
    ASSERT_TRUE(fake.WaitUntil([&] { return d.remote.QueuedWrites() == 0; }));
    // The write thread keeps the clock going, so the reader's own requests may come in between.
    ASSERT_EQ(OfKind(fake.WritesSince(mark), 0x11).size(), 1u);
    EXPECT_EQ(fake.Leds(), 0x5);

    mark = fake.WriteCount();
    fake.ScriptControlResults({WiiTransport::kNotSupported}, 0x11);
    testing::internal::CaptureStderr();
    d.remote.SetLEDs(0x3);
    ASSERT_TRUE(fake.WaitUntil([&] { return d.remote.QueuedWrites() == 0; }));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("WiiRemote : * BT Stack doesn't suport HID writes! *\n"), std::string::npos);
    EXPECT_EQ(OfKind(fake.WritesSince(mark), 0x11).size(), 0u);
    EXPECT_EQ(fake.Leds(), 0x5);
    EXPECT_TRUE(d.remote.IsConnected());
}

// ---- the game's wrapper ----

TEST(WiiRemoteWrapper, ConnectionThreadRetriesEverySecondThenLightsTheFirstLed) {
    FakeWiiRemote fake;
    fake.SetPresent(false);
    WiiRemote_ remote;
    ASSERT_TRUE(remote.Init(fake.Finder()));
    fake.Watch(remote.Driver());
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.OpenAttempts().size() >= 4; }));
    EXPECT_FALSE(remote.Connected());
    fake.SetPresent(true);
    ASSERT_TRUE(fake.WaitUntil([&] { return remote.Connected() && fake.Leds() == 1; }));
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.RumbleChanges().size() >= 2; }));

    std::vector<std::uint32_t> attempts = fake.OpenAttempts();
    for (std::size_t i = 1; i < attempts.size(); ++i) EXPECT_EQ(attempts[i] - attempts[i - 1], 1000u) << i;

    // After the handshake: LED 1 on, then a second of rumble.
    std::vector<Written> all = fake.Writes();
    std::size_t led = all.size();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (Hex(all[i], 2) == "1110") led = i;
    ASSERT_LT(led, all.size());
    ASSERT_LT(led + 1, all.size());
    EXPECT_EQ(Hex(all[led + 1], 2), "1501");
    auto rumble = fake.RumbleChanges();
    EXPECT_TRUE(rumble[0].second);
    EXPECT_FALSE(rumble[1].second);
    EXPECT_GE(rumble[1].first - rumble[0].first, 1000u);

    // A lost remote is found again.
    fake.Fail();
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.Opens() == 2 && remote.Connected(); }));
    remote.Free();
    EXPECT_FALSE(fake.IsOpen());
    EXPECT_EQ(remote.Driver(), nullptr);
}

namespace {
bool controlsOn = true, rumbleOn = true, paused = false;
}  // namespace

TEST(WiiRemoteWrapper, ButtonsAndRumbleObeyTheSwitches) {
    FakeWiiRemote fake;
    WiiRemote_ remote;
    ASSERT_TRUE(remote.Init(fake.Finder()));
    fake.Watch(remote.Driver());
    ASSERT_TRUE(fake.WaitUntil([&] { return remote.Connected() && fake.RumbleChanges().size() >= 2; }));
    WiiRemote_::SetSwitches({[] { return controlsOn; }, [] { return rumbleOn; }, [] { return paused; }});

    struct Case {
        unsigned char lo, hi;
        std::uint16_t bits;
        bool (WiiRemote_::*accessor)() const;
    };
    const Case cases[] = {
        {0x00, 0x08, 0x0800, &WiiRemote_::A},    {0x00, 0x04, 0x0400, &WiiRemote_::B},
        {0x02, 0x00, 0x0002, &WiiRemote_::Up},   {0x01, 0x00, 0x0001, &WiiRemote_::Down},
        {0x08, 0x00, 0x0008, &WiiRemote_::Left}, {0x04, 0x00, 0x0004, &WiiRemote_::Right},
        {0x00, 0x02, 0x0200, &WiiRemote_::One},  {0x00, 0x01, 0x0100, &WiiRemote_::Two},
        {0x10, 0x00, 0x0010, &WiiRemote_::Plus}, {0x00, 0x10, 0x1000, &WiiRemote_::Minus},
        {0x00, 0x80, 0x8000, &WiiRemote_::Home},
    };
    for (const Case& c : cases) {
        fake.SetButtons(static_cast<std::uint16_t>(c.lo | c.hi << 8));
        fake.Push({0x30, c.lo, c.hi});
        ASSERT_TRUE(fake.WaitUntil([&] {
            remote.Update();
            return remote.Bits() == c.bits;
        })) << std::hex
            << c.bits;
        int on = 0;
        for (const Case& other : cases) on += (remote.*other.accessor)() ? 1 : 0;
        EXPECT_TRUE((remote.*c.accessor)()) << std::hex << c.bits;
        EXPECT_EQ(on, 1) << std::hex << c.bits;
        controlsOn = false;
        EXPECT_EQ(remote.Bits(), 0u);
        EXPECT_FALSE((remote.*c.accessor)());
        controlsOn = true;
    }

    // Rumble only with rumble and the remote on and no pause.
    struct Gate {
        bool controls, rumble, pause, expect;
    };
    for (Gate g : {Gate{true, false, false, false}, Gate{false, true, false, false}, Gate{true, true, true, false},
                   Gate{true, true, false, true}}) {
        controlsOn = g.controls;
        rumbleOn = g.rumble;
        paused = g.pause;
        const std::size_t before = fake.RumbleChanges().size();
        remote.Rumble(20);
        if (g.expect) {
            EXPECT_TRUE(fake.WaitUntil([&] { return fake.RumbleChanges().size() == before + 2; }));
        } else {
            EXPECT_EQ(fake.RumbleChanges().size(), before);
        }
    }
    controlsOn = rumbleOn = true;
    paused = false;
    WiiRemote_::SetSwitches({});
    remote.Free();
}

TEST(WiiRemoteWrapper, WiimoteRumbleForActsOnTheGlobalRemote) {
    FakeWiiRemote fake;
    WiimoteRumbleFor(100);  // no driver yet: nothing
    struct FreeAtEnd {
        ~FreeAtEnd() { WiiRemote.Free(); }  // before the fake goes, whatever happens
    } freeAtEnd;
    ASSERT_TRUE(WiiRemote.Init(fake.Finder()));
    fake.Watch(WiiRemote.Driver());
    // The connection's second of rumble, on and off once.
    ASSERT_TRUE(fake.WaitUntil([&] { return WiiRemote.Connected() && fake.RumbleChanges().size() == 2; }));
    const std::uint32_t start = fake.Now();
    WiimoteRumbleFor(300);
    ASSERT_TRUE(fake.WaitUntil([&] { return fake.RumbleChanges().size() == 4; }));
    auto changes = fake.RumbleChanges();
    EXPECT_TRUE(changes[2].second);
    EXPECT_FALSE(changes[3].second);
    EXPECT_GE(changes[3].first - start, 300u);
    WiiRemote.Free();
    EXPECT_EQ(WiiRemote.Driver(), nullptr);
    EXPECT_FALSE(WiiRemote.Connected());
    EXPECT_EQ(WiiRemote.Bits(), 0u);
    EXPECT_FALSE(fake.IsOpen());
}

TEST(WiiRemoteWrapper, MenuQueriesReadTheRemoteThroughTheInputHooks) {
    FakeWiiRemote fake;
    InstallWiiRemoteInputHooks();
    struct Restore {
        ~Restore() {
            WiiRemote.Free();
            ResetInputHooks();
            WiiRemote_::SetSwitches({});
        }
    } restore;
    ASSERT_TRUE(WiiRemote.Init(fake.Finder()));
    fake.Watch(WiiRemote.Driver());
    ASSERT_TRUE(inputHooks.remoteInit());  // already started: nothing more
    ASSERT_TRUE(fake.WaitUntil([&] { return WiiRemote.Connected(); }));

    struct Case {
        std::uint16_t word;
        bool (Input_::*query)() const;
    };
    const Case cases[] = {
        {0x0100, &Input_::SelectButtonPressed}, {0x8000, &Input_::PauseButtonPressed},
        {0x0010, &Input_::PauseButtonPressed},  {0x0200, &Input_::BackButtonPressed},
        {0x0002, &Input_::UpPressed},           {0x0001, &Input_::DownPressed},
        {0x0008, &Input_::LeftPressed},         {0x0004, &Input_::RightPressed},
        {0x0800, &Input_::AnythingPressed},
    };
    for (const Case& c : cases) {
        fake.SetButtons(c.word);
        fake.Push({0x30, static_cast<unsigned char>(c.word), static_cast<unsigned char>(c.word >> 8)});
        ASSERT_TRUE(fake.WaitUntil([&] {
            inputHooks.remoteUpdate();  // the input thread's poll
            return inputHooks.remoteButtons() == c.word;
        })) << std::hex
            << c.word;
        EXPECT_TRUE((inputEngine.*c.query)()) << std::hex << c.word;
        WiiRemote_::SetSwitches({[] { return false; }, nullptr, nullptr});
        EXPECT_FALSE((inputEngine.*c.query)()) << std::hex << c.word;
        WiiRemote_::SetSwitches({});
    }
}
