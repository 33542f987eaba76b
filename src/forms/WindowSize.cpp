#include "forms/WindowSize.h"

#include <algorithm>
#include <cmath>

namespace {
int Fit(double value, int minimum, int maximum) {
    const double limited = std::clamp(value, static_cast<double>(minimum), static_cast<double>(std::max(minimum, maximum)));
    return static_cast<int>(std::lround(limited));
}
}  // namespace

TwipsSize FitWindowSize(double width, double height, TwipsSize workArea, TwipsSize minimum) {
    return {Fit(width, minimum.width, workArea.width), Fit(height, minimum.height, workArea.height)};
}
