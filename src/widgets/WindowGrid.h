#pragma once
// "WindowGrid": a bare object with no variables; it joins the three drawing
// and behaviour passes and answers every one of them with nothing.
#include "widgets/WidgetTemplate.h"

namespace ObjectData::WindowGrid {

struct Variables {};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::WindowGrid
