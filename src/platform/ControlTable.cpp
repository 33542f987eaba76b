#include "platform/ControlTable.h"

#include <algorithm>

std::vector<ControlSpec> InTabOrder(const std::vector<ControlSpec>& controls) {
    std::vector<ControlSpec> ordered = controls;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const ControlSpec& a, const ControlSpec& b) { return a.tabIndex < b.tabIndex; });
    return ordered;
}
