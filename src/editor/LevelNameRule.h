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

// The line shown when a level called name already has a file.
std::string Exists(const std::string& name);
// The line shown when the level file of name could not be written.
std::string SaveFailed(const std::string& name);

}  // namespace LevelNameRule
