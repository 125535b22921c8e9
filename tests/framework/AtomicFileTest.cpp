// The one writer of saved files: whole or not at all, nothing left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t EntriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(AtomicFileTest, WritesAndReplacesWholeFilesLeavingNoTemporary) {
    TempFolder folder;
    const std::string path = folder / "level.lvl";
    ASSERT_TRUE(WriteFileReplacing(path, "first", 5));
    EXPECT_EQ(Read(path), "first");
    ASSERT_TRUE(WriteFileReplacing(path, "second text", 11));
    EXPECT_EQ(Read(path), "second text");
    ASSERT_TRUE(WriteFileReplacing(path, "", 0));
    EXPECT_EQ(Read(path), "");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicFileTest, FailuresKeepTheOldFileAndRemoveTheTemporary) {
    TempFolder folder;
    const std::string path = folder / "save.txt";
    ASSERT_TRUE(WriteFileReplacing(path, "kept", 4));

    // The disk is full: the write fails part-way.
    {
        FileSizeLimit full(2);
        EXPECT_FALSE(WriteFileReplacing(path, "lost text", 9));
    }
    EXPECT_EQ(Read(path), "kept");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);

    // No such folder, no name, and a folder in the file's place.
    EXPECT_FALSE(WriteFileReplacing(folder / "missing/save.txt", "x", 1));
    EXPECT_FALSE(WriteFileReplacing("", "x", 1));
    std::filesystem::create_directory(folder / "taken");
    std::ofstream(folder / "taken/inside") << "x";
    EXPECT_FALSE(WriteFileReplacing(folder / "taken", "x", 1));
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}

}  // namespace
