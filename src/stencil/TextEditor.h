#pragma once
// "TextEditor": a small screen for trying typed text on a multi-line label
// ("Test"). Each frame the first newly pressed key that types a printable
// character is appended; Backspace takes the last character off and Tab
// adds four blanks. The sample sentence shows until the first of them.
#include <cstdint>
#include <string>

#include "framework/LevelTemplate.h"

namespace LevelData::TextEditor {

struct Variables {
    std::int32_t position1 = 0;
    std::string prevText;   // before the insertion point: what is typed
    std::string afterText;  // after the insertion point
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The screen's variables, or null for any other level.
Variables* Find(Entity* level);

// What the label shows before the first key.
inline constexpr char kSample[] = "Type anything to test this text box. Backspace erases a letter.";

}  // namespace LevelData::TextEditor
