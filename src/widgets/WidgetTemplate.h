#pragma once
// The one place the widgets reach the shared object-type template: every
// widget type is a record of its variables with a copy, a free and a
// registration step.
#include "framework/ObjectTemplate.h"
