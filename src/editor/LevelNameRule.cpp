#include "editor/LevelNameRule.h"

namespace LevelNameRule {

namespace {

bool Allowed(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '-' ||
           c == '_';
}

}  // namespace

std::string Refusal(const std::string& name) {
    if (name.empty()) return "Enter a name for the level.";
    if (name.size() > kLongest) return "A level name has at most 64 characters.";
    for (char c : name)
        if (!Allowed(c)) return "A level name holds only letters, digits, blanks, - and _.";
    if (name.front() == ' ' || name.back() == ' ') return "A level name does not begin or end with a blank.";
    return {};
}

std::string Exists() { return "A level of that name already exists: choose another name."; }

std::string SaveFailed() { return "Could not save the level's file: nothing was changed."; }

}  // namespace LevelNameRule
