#include "platform/window/ThreadShare.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "framework/Time.h"

namespace {

// The nice value a child process reports through its exit status.
int ChildsNice() {
    const pid_t pid = fork();
    if (pid == 0) _exit(ThisThreadsNice() + 20);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return 100;
    return WEXITSTATUS(status) - 20;
}

}  // namespace

// The game thread runs ahead of the render thread and its rasteriser, while a
// receive thread or a compiler it starts later gets the ordinary share, and
// the program's other threads keep theirs.
TEST(ThreadShare, TheAskingThreadAloneGetsTheLargerShare) {
    const int ordinary = ThisThreadsNice();
    bool granted = false, again = false;
    int asked = 0, askedAgain = 0, started = 0, child = 0;
    std::thread([&] {
        AskForPromptWakeUps();
        granted = AskForALargerShare();
        asked = ThisThreadsNice();
        // Asked again, the share stays what was granted, not larger still.
        again = AskForALargerShare();
        askedAgain = ThisThreadsNice();
        std::thread([&] { started = ThisThreadsNice(); }).join();
        child = ChildsNice();
    }).join();
    if (!granted) GTEST_SKIP() << "this system grants an ordinary program no larger share";

    EXPECT_EQ(asked, std::max(ordinary - 10, -20));
    EXPECT_TRUE(again);
    EXPECT_EQ(askedAgain, asked);
    EXPECT_EQ(ThisThreadsNice(), ordinary) << "the thread that started the asking one was changed";
    // A negative nice value is not passed on; a positive one is the user's.
    const int passedOn = asked < 0 ? 0 : asked;
    EXPECT_EQ(started, passedOn) << "a thread the asking thread started kept its larger share";
    EXPECT_EQ(child, passedOn) << "a program the asking thread started kept its larger share";
}
