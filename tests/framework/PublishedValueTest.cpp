#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/PublishedValue.h"

namespace {

// Wider than one word, with a flag beside the numbers, as a window's
// geometry is: a torn copy shows as numbers that differ.
struct Wide {
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    float f = 0.0f;
    bool odd = false;
};

}  // namespace

TEST(PublishedValue, ReadersSeeOnlyWholeValuesWhileTwoWritersChangeIt) {
    PublishedValue<Wide> value;
    std::atomic<bool> stop{false};
    // Two writers, each changing every field to one number of its own.
    auto writer = [&](int base) {
        for (int n = 1; !stop.load(); ++n)
            value.Update([&](Wide& w) {
                const int k = base + n % 1000;
                w = Wide{k, k, k, k, k, static_cast<float>(k), k % 2 == 1};
            });
    };
    std::thread first(writer, 0), second(writer, 100000);
    int torn = 0;
    for (int i = 0; i < 200000; ++i) {
        const Wide w = value.Load();
        if (w.a != w.b || w.b != w.c || w.c != w.d || w.d != w.e || static_cast<float>(w.a) != w.f ||
            (w.a % 2 == 1) != w.odd)
            ++torn;
    }
    stop.store(true);
    first.join();
    second.join();
    EXPECT_EQ(torn, 0);
}

TEST(PublishedValue, AnUpdateSeesTheValueAsItStands) {
    PublishedValue<Wide> value(Wide{1, 2, 3, 4, 5, 6.0f, true});
    value.Update([](Wide& w) { w.c = 30; });
    const Wide w = value.Load();
    EXPECT_EQ(w.a, 1);
    EXPECT_EQ(w.c, 30);
    EXPECT_EQ(w.e, 5);
    EXPECT_TRUE(w.odd);
}
