// Single play's progress file: what it keeps comes back the same; a file
// that is damaged, of another kind or not a plain file reads as nothing
// reached (never a wait, never a crash) and is left as it is until the next
// finish writes it whole; a finish keeps the best of every record.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/Progress.h"
#include "support/TempUserFolder.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

Progress::Record Sample() {
    Progress::Record r;
    r.showCounter = false;
    r.windowed = true;
    r.levels[0] = {true, true, 2534, 3, 12, 0};
    r.levels[1] = {true, true, 1, 0, 0, 7};
    r.levels[2] = {true, false, Progress::kNone, Progress::kNone, Progress::kNone, Progress::kNone};
    r.levels[12] = {true, true, Progress::kMaxValue, 40, 99, 1};
    return r;
}

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override { Progress::Load(); }
    void TearDown() override {
        Progress::hooks = {};
        Progress::Current() = Progress::Record{};
    }
    std::string Path() const { return Progress::FilePath(); }
    TempUserFolder folder;
};

TEST_F(ProgressTest, WhatIsKeptComesBackTheSameThroughTheTextAndTheFile) {
    const Progress::Record sample = Sample();
    Progress::Record back;
    ASSERT_TRUE(Progress::FromText(Progress::ToText(sample), back));
    EXPECT_EQ(back, sample);

    Progress::Current() = sample;
    ASSERT_TRUE(Progress::Save());
    Progress::Current() = Progress::Record{};
    ASSERT_TRUE(Progress::Load());
    EXPECT_EQ(Progress::Current(), sample);
    // The file sits beside the save file, a readable text.
    EXPECT_EQ(Path(), folder.root + "/Progress.txt");
    EXPECT_NE(ReadAll(Path()).find("GrassLevel01 finished 2534 3 12 0\n"), std::string::npos);
    // An editor's line ends are taken too.
    std::string crlf;
    for (char c : Progress::ToText(sample)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_TRUE(Progress::FromText(crlf, back));
    EXPECT_EQ(back, sample);
    // Nothing reached yet: the defaults.
    ASSERT_TRUE(Progress::FromText(Progress::ToText(Progress::Record{}), back));
    EXPECT_EQ(back, Progress::Record{});
    EXPECT_TRUE(back.showCounter);
    EXPECT_FALSE(back.windowed);
}

TEST_F(ProgressTest, DamagedOrForeignTextReadsAsNothingReached) {
    const std::string good = Progress::ToText(Sample());
    const std::string header = "Glimmerfall progress 1\n";
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"the save file's words", "Ver3\n12 200 40\n10 15 20 1 5\nNoName\n1 1 1 1 1\n0.5 0.5\n"},
        {"another version", "Glimmerfall progress 2\nGrassLevel01 reached\n"},
        {"bytes", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)},
        {"cut off in a line", good.substr(0, good.find("GrassLevel01 finished 25") + 24)},
        {"an unknown level", header + "GrassLevel99 reached\n"},
        {"a level twice", header + "GrassLevel01 reached\nGrassLevel01 finished 10 1 1 1\n"},
        {"a word for a number", header + "GrassLevel01 finished ten 1 1 1\n"},
        {"a negative number", header + "GrassLevel01 finished 10 -1 1 1\n"},
        {"a number too large", header + "GrassLevel01 finished 10 1 1 9999999999\n"},
        {"a time of nothing", header + "GrassLevel01 finished 0 1 1 1\n"},
        {"a record missing", header + "GrassLevel01 finished 10 1 1\n"},
        {"a record too many", header + "GrassLevel01 finished 10 1 1 1 1\n"},
        {"records on a level only reached", header + "GrassLevel01 reached 10 1 1 1\n"},
        {"an unknown state", header + "GrassLevel01 won\n"},
        {"an unknown line", header + "moon full\n"},
        {"a choice of another kind", header + "counter sometimes\n"},
        {"a choice twice", header + "window windowed\nwindow full\n"},
        {"a level line in the header's place", "GrassLevel01 reached\n" + header},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Progress::Record out = Sample();
        EXPECT_FALSE(Progress::FromText(c.text, out));
        EXPECT_EQ(out, Progress::Record{}) << "nothing reached, the choices at their defaults";
    }
}

TEST_F(ProgressTest, AFileThatCannotBeReadAsProgressGivesNothingReachedAndStaysUntilTheNextFinish) {
    struct Case {
        const char* what;
        void (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"missing", [](const std::string&) {}},
        {"damaged", [](const std::string& path) { WriteAll(path, "Glimmerfall progress 1\nGrassLevel01 won\n"); }},
        {"larger than a progress file can be",
         [](const std::string& path) {
             WriteAll(path, "Glimmerfall progress 1\n" + std::string(Progress::kMaxFileBytes, '#') + "\n");
         }},
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
        // A pipe with no writer: opening it for reading must not wait.
        {"a pipe", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(Path());
        c.make(Path());
        const bool existed = std::filesystem::exists(std::filesystem::symlink_status(Path()));
        const std::string before = std::filesystem::is_regular_file(Path()) ? ReadAll(Path()) : "";
        Progress::Current() = Sample();
        EXPECT_FALSE(Progress::Load());
        EXPECT_EQ(Progress::Current(), Progress::Record{});
        EXPECT_FALSE(Progress::Reachable(Progress::Current(), 1));
        EXPECT_EQ(Progress::ContinueLevel(Progress::Current()), 0);
        // Reading left it alone.
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(Path())), existed);
        if (std::filesystem::is_regular_file(Path())) {
            EXPECT_EQ(ReadAll(Path()), before);
        }
        if (std::filesystem::is_regular_file(Path()) || !existed) {
            // The next finish writes it whole.
            Progress::Finish(0, {600, 1, 2, 3, 4, 0});
            Progress::Record back;
            ASSERT_TRUE(Progress::FromText(ReadAll(Path()), back));
            EXPECT_TRUE(back.levels[0].finished);
            EXPECT_TRUE(back.levels[1].reached);
        }
    }
    std::filesystem::remove_all(Path());
}

TEST_F(ProgressTest, AFinishKeepsTheBestOfEveryRecordAndSaysWhichFell) {
    using Progress::Finish;
    const Progress::NewBests first = Finish(4, {3000, 2, 5, 10, 12, 3});
    EXPECT_FALSE(first.Any()) << "a first finish has nothing to beat";
    const Progress::LevelRecord& r = Progress::Current().levels[4];
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(Progress::Current().levels[5].reached) << "the next level is reached";
    EXPECT_FALSE(Progress::Current().levels[3].reached) << "levels before are not";
    EXPECT_TRUE(Progress::Reachable(Progress::Current(), 5));
    EXPECT_FALSE(Progress::Reachable(Progress::Current(), 6));

    struct Case {
        Progress::Run run;
        bool time, shards, fireflies, deaths;
        Progress::LevelRecord after;
    };
    const Case cases[] = {
        // Slower, fewer, more deaths: nothing falls and nothing is lost.
        {{3500, 1, 5, 9, 12, 4}, false, false, false, false, {true, true, 3000, 2, 10, 3}},
        // Equal is no new best.
        {{3000, 2, 5, 10, 12, 3}, false, false, false, false, {true, true, 3000, 2, 10, 3}},
        // Faster only.
        {{2900, 2, 5, 10, 12, 3}, true, false, false, false, {true, true, 2900, 2, 10, 3}},
        // Every record at once.
        {{2800, 5, 5, 12, 12, 0}, true, true, true, true, {true, true, 2800, 5, 12, 0}},
    };
    for (const Case& c : cases) {
        const Progress::NewBests b = Finish(4, c.run);
        EXPECT_EQ(b.time, c.time);
        EXPECT_EQ(b.shards, c.shards);
        EXPECT_EQ(b.fireflies, c.fireflies);
        EXPECT_EQ(b.deaths, c.deaths);
        EXPECT_EQ(r, c.after);
    }
    // Every finish was written.
    Progress::Record back;
    ASSERT_TRUE(Progress::FromText(ReadAll(Path()), back));
    EXPECT_EQ(back, Progress::Current());

    // Continue plays the first level not finished: the first, since only the
    // fifth is; with all of them finished, the first again.
    EXPECT_EQ(Progress::ContinueLevel(Progress::Current()), 0);
    for (int i = 0; i < Progress::kLevels; ++i) Finish(i, {100, 0, 0, 0, 0, 0});
    EXPECT_EQ(Progress::ContinueLevel(Progress::Current()), 0);
    Progress::Current().levels[7].finished = false;
    EXPECT_EQ(Progress::ContinueLevel(Progress::Current()), 7);
}

TEST_F(ProgressTest, TheWindowChoiceIsWrittenOnlyWhenItChanges) {
    static bool windowed = false;
    Progress::hooks.windowedNow = [] { return windowed; };
    Progress::KeepWindowChoice();
    EXPECT_FALSE(std::filesystem::exists(Path())) << "the default choice needs no file";
    windowed = true;
    Progress::KeepWindowChoice();
    Progress::Record back;
    ASSERT_TRUE(Progress::FromText(ReadAll(Path()), back));
    EXPECT_TRUE(back.windowed);
    EXPECT_TRUE(Progress::Current().windowed);
    windowed = false;
    Progress::KeepWindowChoice();
    ASSERT_TRUE(Progress::FromText(ReadAll(Path()), back));
    EXPECT_FALSE(back.windowed);
}

}  // namespace
