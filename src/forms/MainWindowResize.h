#pragma once
#include <functional>

#include "platform/ControlTable.h"

// Where the resizable controls of the main window stand, in twips.
struct MainWindowLayout {
    TwipsRect txtCD;
    TwipsRect lstCommand;
    TwipsRect txtCommand;
    TwipsRect fraButtons;
    bool operator==(const MainWindowLayout&) const = default;
};

// The list box shows whole lines only: given a height, the height it takes.
using ListHeightRounding = std::function<int(int requestedHeight)>;

// The rules below were written for an outer size whose frame, caption and menu bar take this
// much (the design: 4575 x 6210 outside, 4455 x 5520 inside). The window applies them to its
// client area plus this frame, so the controls fit whatever the system's window metrics.
inline constexpr TwipsSize DesignFrame{120, 690};

// The layout after the window took the outer size width × height (twips). A rule whose size
// would not be positive is skipped, so its control keeps its last size; the text box and the
// button frame always follow the list's height as the list takes it.
MainWindowLayout ResizeMainWindow(int width, int height, MainWindowLayout layout,
                                  const ListHeightRounding& listHeightShown);
