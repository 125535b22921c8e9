#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "framework/Framerate.h"
#include "framework/Time.h"
#include "support/FakeClock.h"

TEST(Framerate, SleepsOutTheRestOfTheFrameByTruncation) {
    FakeClock clock;
    struct Case {
        int rate;
        std::uint32_t work;
        std::vector<std::uint32_t> sleeps;  // empty: no sleep at all
    };
    const Case cases[] = {
        {60, 3, {13}},                  // 16.67 - 3 = 13.67, truncated
        {60, 16, {0}},                  // 0.67 truncates to 0: still a (zero) sleep
        {60, 17, {0}},                  // -0.33 truncates toward zero: a zero sleep
        {60, 18, {}},                   // overran by more than a millisecond: no sleep
        {60, 40, {}},   {120, 2, {6}},  // 8.33 - 2
        {100, 10, {0}},                 // exactly the period
    };
    for (const Case& c : cases) {
        Framerate f("case", c.rate);
        FakeClock::sleeps.clear();
        f.StartFRC();
        clock.Advance(c.work);
        f.EndFRC();
        EXPECT_EQ(FakeClock::sleeps, c.sleeps) << c.rate << " fps, " << c.work << " ms of work";
    }
}

TEST(Framerate, RateAndAverage) {
    FakeClock clock;
    Framerate f("avg", 60);
    EXPECT_FLOAT_EQ(f.GetFramerate(), 60.0f);

    // An overrun frame reports a rate below the target.
    f.StartFRC();
    clock.Advance(25);
    f.EndFRC();
    EXPECT_FLOAT_EQ(f.GetFramerate(), 40.0f);
    EXPECT_EQ(f.GetAverageFramerate(), 0.0f);  // nothing averaged before 10 frames

    // Nine more frames of 3 ms work each sleep to 16 ms. Ten frames took 25 + 9 * 16 = 169 ms.
    for (int i = 0; i < 9; ++i) {
        f.StartFRC();
        clock.Advance(3);
        f.EndFRC();
    }
    EXPECT_FLOAT_EQ(f.GetAverageFramerate(), 10000.0f / 169.0f);
    EXPECT_FLOAT_EQ(f.GetFramerate(), 1000.0f / 16.0f);
}

TEST(Framerate, RegistryNamesRatesAndColours) {
    FakeClock clock;
    std::vector<std::unique_ptr<Framerate>> made;
    size_t before = Framerate::GetNames().size();
    for (int i = 0; i < 9; ++i) made.push_back(std::make_unique<Framerate>(("loop" + std::to_string(i)).c_str(), 60));

    std::vector<std::string> names = Framerate::GetNames();
    ASSERT_EQ(names.size(), before + 9);
    EXPECT_EQ(names[0], "Main Loop");  // the game thread's limiter exists before main
    EXPECT_EQ(names[before], "loop0");

    std::vector<float> rates;
    std::vector<std::uint32_t> colours = Framerate::GetRatesAndColors(rates);
    ASSERT_EQ(colours.size(), rates.size());
    EXPECT_EQ(colours[0], 0xFFFF0000u);
    EXPECT_EQ(colours[8], colours[0]);  // the ninth takes the first colour again
    EXPECT_EQ(colours[7], 0xFF000000u);
    EXPECT_FLOAT_EQ(rates[before], 1.0f);

    made.clear();
    EXPECT_EQ(Framerate::GetNames().size(), before);
}

// The length of the calling thread's turns as the system keeps it (0 when it
// cannot be read).
static std::uint64_t TurnLengthNs() {
    struct {
        std::uint32_t size, policy;
        std::uint64_t flags;
        std::int32_t nice;
        std::uint32_t priority;
        std::uint64_t runtime, deadline, period;
        std::uint32_t utilMin, utilMax;
    } attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0) return 0;
    return attr.runtime;
}

// The limiter is made on one thread (the game's at start-up) and paces
// another: the prompt wake-ups are asked for on the thread that sleeps, from
// its first frame on; the thread that made the limiter keeps its own turns,
// and so do threads the paced thread starts (a compiler's run among them).
TEST(Framerate, TheThreadThatPacesWithALimiterIsWokenPromptlyAndNoOtherIs) {
    // Whether this system grants a thread turns of its own length at all.
    std::uint64_t asked = 0;
    std::thread([&] { asked = AskForPromptWakeUps() ? TurnLengthNs() : 0; }).join();
    if (asked == 0) GTEST_SKIP() << "this system keeps one turn length for every thread";

    FakeClock clock;
    const std::uint64_t makerBefore = TurnLengthNs();
    Framerate f("paced", 60);
    std::uint64_t before = 0, after = 0, started = 0;
    std::thread paced([&] {
        before = TurnLengthNs();
        f.StartFRC();
        clock.Advance(3);
        f.EndFRC();
        after = TurnLengthNs();
        std::thread([&] { started = TurnLengthNs(); }).join();
    });
    paced.join();
    EXPECT_NE(before, asked);
    EXPECT_EQ(after, asked) << "the pacing thread's turns are not the short ones";
    EXPECT_EQ(TurnLengthNs(), makerBefore) << "the thread that made the limiter was changed";
    EXPECT_EQ(started, before) << "a thread the paced thread started took its short turns";
}
