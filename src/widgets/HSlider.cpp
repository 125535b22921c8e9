#include "widgets/HSlider.h"

namespace ObjectData::HSlider {

namespace {

VariableOffsetTable table;

}  // namespace

void sliderBDifferences(Object* object) { Widgets::ScrollBar::Place(object, {0.15f, -0.09f, 0.0f}, {0.5f, 0.04f}); }
void gridSliderHDifferences(Object* object) { Widgets::ScrollBar::Place(object, {0.2f, -0.275f, 0.0f}, {1.1f, 0.05f}); }

void _Init(Object*& slot) { Widgets::ScrollBar::Register<false>(slot, "HSlider", table); }

}  // namespace ObjectData::HSlider
