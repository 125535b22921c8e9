#include <gtest/gtest.h>

#include <vector>

#include "framework/Profiler.h"
#include "support/FakeClock.h"

namespace {

// Ticks advance only when the test says so.
std::int64_t ticks = 0;
std::int64_t FakeTicks() { return ticks; }

class ProfilerTest : public ::testing::Test {
protected:
    void SetUp() override {
        old = Profiler::SetTickSource(FakeTicks);
        ticks = 1000;
        thread = nextThread++;  // tables persist across tests: each test uses its own thread id
    }
    void TearDown() override { Profiler::SetTickSource(old); }

    Profile Find(const std::vector<Profile>& list, const std::string& name) {
        for (const Profile& p : list)
            if (p.name == name) return p;
        ADD_FAILURE() << "no section " << name;
        return {};
    }

    FakeClock clock;
    Profiler::TickSource old = nullptr;
    int thread = 0;
    static inline int nextThread = 100;
};

}  // namespace

TEST_F(ProfilerTest, SectionsBeforeTheFirstFrameAreIgnored) {
    Profiler::Start(std::string("early"), thread);
    Profiler::End(std::string("early"), thread);
    std::vector<int> threads;
    Profiler::GetThreads(threads);
    EXPECT_EQ(std::count(threads.begin(), threads.end(), thread), 0);
    std::vector<Profile> out;
    Profiler::GetAverages(thread, out);  // no tables, no frames: empty, no division
    EXPECT_TRUE(out.empty());
}

TEST_F(ProfilerTest, NestingOrderAndDepth) {
    Profiler::Start(thread, "Game");
    {
        Profiler outer("update", thread);
        ticks += 10;
        {
            Profiler inner("physics", thread);
            ticks += 5;
            Profiler::Start(std::string("physics"), thread);  // nested open of the same name
            ticks += 5;
            Profiler::End(std::string("physics"), thread);  // only lowers the count
        }
        ticks += 2;
    }
    Profiler::Start(std::string("draw"), thread);
    ticks += 3;
    Profiler::End(std::string("draw"), thread);
    Profiler::End(thread);

    std::vector<Profile> frame;
    Profiler::GetHistory(thread, 0, frame);
    ASSERT_EQ(frame.size(), 3u);
    EXPECT_EQ(frame[0].name, "update");
    EXPECT_EQ(frame[0].count, 0);
    EXPECT_EQ(frame[0].ticks, 22);
    EXPECT_EQ(frame[1].name, "physics");
    EXPECT_EQ(frame[1].count, 1);
    EXPECT_EQ(frame[1].ticks, 10);  // one span, outer open to outer close
    EXPECT_EQ(frame[2].name, "draw");
    EXPECT_EQ(frame[2].count, 0);

    Profile data;
    Profiler::GetThreadData(thread, 0, data);
    EXPECT_EQ(data.name, "Game");
    EXPECT_EQ(data.ticks, 25);
}

TEST_F(ProfilerTest, ClosingAnOuterSectionClosesTheInnerFirst) {
    Profiler::Start(thread, "T");
    Profiler::Start(std::string("a"), thread);
    Profiler::Start(std::string("b"), thread);
    ticks += 4;
    Profiler::End(std::string("a"), thread);
    Profiler::End(std::string("b"), thread);      // already closed: nothing happens
    Profiler::End(std::string("never"), thread);  // never opened: nothing happens
    Profiler::End(thread);
    std::vector<Profile> frame;
    Profiler::GetHistory(thread, 0, frame);
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(Find(frame, "b").ticks, 4);
    EXPECT_EQ(Find(frame, "a").ticks, 4);
}

TEST_F(ProfilerTest, HistoryWrapsAtSixHundredAndAveragesDivide) {
    for (int i = 0; i < 600; ++i) {
        Profiler::Start(thread, "T");
        Profiler::Start(std::string("s"), thread);
        ticks += (i == 0) ? 100 : 1;
        Profiler::End(std::string("s"), thread);
        Profiler::End(thread);
    }
    EXPECT_EQ(Profiler::GetCurrentHistory(thread), 0);
    Profile newest;
    Profiler::GetThreadData(thread, 599, newest);
    EXPECT_EQ(newest.ticks, 1);

    // The 601st frame overwrites slot 0.
    Profiler::Start(thread, "T");
    ticks += 7;
    Profiler::End(thread);
    Profile slot0;
    Profiler::GetThreadData(thread, 0, slot0);
    EXPECT_EQ(slot0.ticks, 7);
    EXPECT_EQ(Profiler::GetCurrentHistory(thread), 1);

    std::vector<Profile> avg;
    Profiler::GetAverages(thread, avg);
    ASSERT_EQ(avg.size(), 1u);
    EXPECT_EQ(avg[0].ticks, (100 + 599) / 601);
    std::vector<Profile> maxes;
    Profiler::GetMaxes(thread, maxes);
    ASSERT_EQ(maxes.size(), 1u);
    EXPECT_EQ(maxes[0].ticks, 100);

    // Slots out of range are reduced, never read past the table.
    std::vector<Profile> out;
    Profiler::GetHistory(thread, 600 + 5, out);
    Profiler::GetHistory(thread, -1, out);
    Profile p;
    Profiler::GetThreadData(thread, 12345, p);
}

TEST_F(ProfilerTest, EmptyNamesAreRecordedButNotListed) {
    Profiler::Start(thread, "T");
    Profiler::Start(std::string(""), thread);
    ticks += 1;
    Profiler::End(std::string(""), thread);
    Profiler::End(thread);
    std::vector<Profile> frame;
    Profiler::GetHistory(thread, 0, frame);
    EXPECT_TRUE(frame.empty());
    std::vector<int> threads;
    Profiler::GetThreads(threads);
    EXPECT_EQ(std::count(threads.begin(), threads.end(), thread), 1);
}
