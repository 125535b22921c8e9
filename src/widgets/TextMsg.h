#pragma once
// "TextMsg": a message that blanks itself after a number of frames. What it
// shows is its own Text object; the network screens write into it.
//
// The message stands where a player reads it: a light line on a dark panel,
// at its place on the view (its `place`, game units from the view's centre),
// following the camera in a play level.
#include <cstdint>

#include "framework/Vector.h"
#include "widgets/Text.h"

namespace ObjectData::TextMsg {

struct Variables {
    std::int32_t life = 0;      // frames left
    Object* textObj = nullptr;  // the Text shown
    // Carried and copied with the message, but not what it shows.
    Text::Variables text;
    // Where on the view the message stands (not a script variable).
    D3DXVECTOR2 place{0.0f, 0.3f};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The message's variables, or null for other objects.
Variables* Find(Entity* entity);

// The look of every message line: colour, size, alignment.
constexpr std::uint32_t kTextColour = 0xFFFFF1C4u;
constexpr std::uint32_t kPanelColour = 0xD0141428u;
constexpr float kCharHeight = 0.05f;

}  // namespace ObjectData::TextMsg
