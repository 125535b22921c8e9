#pragma once
// The object-type template lives in the framework, so that widgets build on it alone.
#include "framework/ObjectTemplate.h"
