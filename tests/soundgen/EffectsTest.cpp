// The sound tool's drawn effects, built here with the sanitizers: every one
// stays within its buffers and comes out as a finite, bounded signal.
#include <gtest/gtest.h>

#include <cmath>

// The tool's drawing units, compiled into this test as they stand.
#include "../../tools/soundgen/Effects.cpp"
#include "../../tools/soundgen/Synth.cpp"

TEST(SoundgenEffectsTest, EveryEffectStaysInItsBuffersAndInRange) {
    int drawn = 0;
    for (int sound = 0; sound < 27; ++sound) {
        SCOPED_TRACE(sound);
        const std::vector<float> samples = effects::Make(sound);
        if (samples.empty()) continue;
        ++drawn;
        for (float s : samples) {
            ASSERT_TRUE(std::isfinite(s));
            ASSERT_LE(std::fabs(s), 1.0f);
        }
    }
    EXPECT_EQ(drawn, 18);  // the effects and the two loops; the rest are music
}
