#pragma once
// "VSlider": the vertical scroll bar (min at the top, max at the bottom); see widgets/ScrollBar.h.
// Its unit also carries the ready-placed variants "sliderA" and "gridSliderV".
#include "widgets/ScrollBar.h"

namespace ObjectData::VSlider {

using _DATA = ObjectTemplate::Data<Widgets::ScrollBar::Variables>;

void _Init(Object*& slot);

// The variants' differences: their place and size.
void sliderADifferences(Object* object);
void gridSliderVDifferences(Object* object);

}  // namespace ObjectData::VSlider
