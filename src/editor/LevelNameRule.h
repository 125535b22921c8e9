#pragma once
// What a level may be called. A level's name is also its file's name in the
// user's level folder, so it is held to a plain set of characters: 1 to 64
// letters, digits, blanks, "-" and "_", not beginning or ending with a blank
// (no path separators, no dots, nothing a file system treats specially).
#include <string>

namespace LevelNameRule {

constexpr std::size_t kLongest = 64;

// Why name cannot be a level's name, as one line for the dialogs; empty when
// it can.
std::string Refusal(const std::string& name);

inline bool IsValid(const std::string& name) { return Refusal(name).empty(); }

// The line shown when a level of the name typed already has a file, and the
// one shown when the level's file could not be written. Neither repeats the
// name, which stands in the box just below: with a long name the line would
// not fit the narrowest dialog's message band.
std::string Exists();
std::string SaveFailed();

}  // namespace LevelNameRule
