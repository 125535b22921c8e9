// The one reader of files in the user's folders: only regular files, never a
// wait, never more than its bound.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "framework/UserFile.h"
#include "support/NotAFile.h"
#include "support/TempFolder.h"

namespace {

constexpr std::size_t kLimit = 4096;

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

TEST(UserFile, ARegularFileUpToTheLimitIsReadWholeAndOneByteMoreIsRefused) {
    TempFolder folder;
    std::string text;
    Write(folder / "small", "two\nlines\n");
    EXPECT_TRUE(ReadUserFile(folder / "small", kLimit, text));
    EXPECT_EQ(text, "two\nlines\n");

    Write(folder / "empty", "");
    text = "left over";
    EXPECT_TRUE(ReadUserFile(folder / "empty", kLimit, text));
    EXPECT_EQ(text, "");

    const std::string full(kLimit, 'f');
    Write(folder / "full", full);
    EXPECT_TRUE(ReadUserFile(folder / "full", kLimit, text));
    EXPECT_EQ(text, full);

    Write(folder / "over", full + "o");
    text = "left over";
    EXPECT_FALSE(ReadUserFile(folder / "over", kLimit, text));
    EXPECT_EQ(text, "");

    EXPECT_FALSE(ReadUserFile(folder / "missing", kLimit, text));
    EXPECT_EQ(text, "");
}

TEST(UserFile, WhatIsNotARegularFileIsRefusedWithoutWaitingOrReading) {
    TempFolder folder;
    for (notafile::Kind kind : {notafile::Kind::NamedPipe, notafile::Kind::EndlessDevice, notafile::Kind::Folder}) {
        SCOPED_TRACE(notafile::Name(kind));
        const std::string path = folder / "thing";
        std::filesystem::remove(path);
        ASSERT_TRUE(notafile::Place(kind, path));
        std::string text = "left over";
        bool read = true;
        // A reader that opened the pipe as a file would wait here for a
        // writer that never comes; one that read the device would not stop.
        const std::uint64_t bytes = notafile::BytesReadBy([&] { read = ReadUserFile(path, kLimit, text); });
        EXPECT_FALSE(read);
        EXPECT_EQ(text, "");
        EXPECT_EQ(bytes, 0u);
    }
}

TEST(UserFile, ANamedPipeThatHoldsTextIsLeftAsItWas) {
    TempFolder folder;
    const std::string path = folder / "pipe";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    // The test holds both ends, so an open would not wait and a read would
    // find this text: the reader must take none of it.
    const int ends = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(ends, 0);
    const std::string held = "Ver3\n1 2 3\n";
    ASSERT_EQ(::write(ends, held.data(), held.size()), static_cast<ssize_t>(held.size()));
    std::string text;
    EXPECT_FALSE(ReadUserFile(path, kLimit, text));
    int waiting = 0;
    ASSERT_EQ(::ioctl(ends, FIONREAD, &waiting), 0);
    EXPECT_EQ(waiting, static_cast<int>(held.size()));
    ::close(ends);
}

TEST(UserFile, AFileFarPastTheLimitIsRefusedWithoutBeingRead) {
    TempFolder folder;
    // 300 MB of one line, and a file that only says it is small (as files
    // of the system's own folders do) but goes on: neither costs more
    // than the bound.
    ASSERT_TRUE(notafile::PlaceLongFile(folder / "long", "Ver3\n", 300ull * 1024 * 1024));
    std::string text;
    bool read = true;
    std::uint64_t bytes = notafile::BytesReadBy([&] { read = ReadUserFile(folder / "long", kLimit, text); });
    EXPECT_FALSE(read);
    EXPECT_EQ(text, "");
    EXPECT_LE(bytes, kLimit + 1);

    if (::access("/proc/self/cmdline", R_OK) == 0) {
        // A regular file whose size reads as 0 and whose text is longer
        // than a limit of 4 bytes.
        bytes = notafile::BytesReadBy([&] { read = ReadUserFile("/proc/self/cmdline", 4, text); });
        EXPECT_FALSE(read);
        EXPECT_EQ(text, "");
        EXPECT_LE(bytes, 5u);
    }
}
