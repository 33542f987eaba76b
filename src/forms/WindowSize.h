#pragma once
#include "platform/ControlTable.h"

// The outer size a window takes from the settings: as read, but never larger than the work
// area of its monitor and never smaller than the smallest window the system allows, so the
// window can always be seen and reached.
TwipsSize FitWindowSize(double width, double height, TwipsSize workArea, TwipsSize minimum);
