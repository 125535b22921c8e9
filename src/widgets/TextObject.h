#pragma once
// The text functions on a text widget's variables.
#include "platform/graphics/Text.h"

class Object;

// A text widget's settings: its variables from hAlign to information form
// one TextSettings record. Null when the object has no hAlign.
TextSettings* GetTextSettings(Object* o);
// Lays out a text widget's `text` into its cached layout (`information`)
// when it has all three.
void CalcText(Object* o);
