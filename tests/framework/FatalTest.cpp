#include <gtest/gtest.h>
#include <stdlib.h>

#include "framework/Fatal.h"

TEST(FatalDeathTest, EndsWithANonZeroStatusEvenWhenAskedForZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EXIT(FatalError("Unable to locate internal resource!", "Glimmerfall", 0), testing::ExitedWithCode(1),
                "Glimmerfall: Unable to locate internal resource!");
    EXPECT_EXIT(FatalError("Failed", "Error during initialization", 3), testing::ExitedWithCode(3),
                "Error during initialization: Failed");
}
