#pragma once
// "HSlider": the horizontal scroll bar (min at the left); see widgets/ScrollBar.h.
// Its unit also carries the ready-placed variants "sliderB" and "gridSliderH".
#include "widgets/ScrollBar.h"

namespace ObjectData::HSlider {

using _DATA = ObjectTemplate::Data<Widgets::ScrollBar::Variables>;

void _Init(Object*& slot);

// The variants' differences: their place and size.
void sliderBDifferences(Object* object);
void gridSliderHDifferences(Object* object);

}  // namespace ObjectData::HSlider
