#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Options.h"

TEST(Options, DefaultsAfterFill) {
    OptionsTable.Fill();
    const std::pair<const char*, int> defaults[] = {
        {"Options.fullScreen", 0},  {"Options.InputLeft", 203}, {"Options.InputRight", 205}, {"Options.InputUp", 200},
        {"Options.InputDown", 208}, {"Options.InputA", 30},     {"Options.InputB", 48},      {"Options.InputStart", 28},
    };
    for (const auto& [key, value] : defaults) EXPECT_EQ(OptionsTable[key], value) << key;
    // The map names the integers themselves.
    EXPECT_EQ(&OptionsTable["Options.fullScreen"], &OptionsTable.fullScreen);
}

TEST(Options, UnknownKeyFailsClearlyAndAddsNothing) {
    OptionsTable.Fill();
    EXPECT_EQ(OptionsTable.Find("Options.Volume"), nullptr);
    EXPECT_THROW(OptionsTable["Options.Volume"], std::out_of_range);
    EXPECT_EQ(OptionsTable.Find("Options.Volume"), nullptr);
}
