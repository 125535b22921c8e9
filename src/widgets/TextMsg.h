#pragma once
// "TextMsg": a message that blanks itself after a number of frames. What it
// shows is its own Text object; the network screens write into it.
#include <cstdint>

#include "widgets/Text.h"

namespace ObjectData::TextMsg {

struct Variables {
    std::int32_t life = 0;      // frames left
    Object* textObj = nullptr;  // the Text shown
    // Carried and copied with the message, but not what it shows.
    Text::Variables text;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::TextMsg
