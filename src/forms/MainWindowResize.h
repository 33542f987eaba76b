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

// The layout after the window took the outer size width × height (twips). A rule whose size
// would not be positive is skipped, so its control keeps its last size; the text box and the
// button frame always follow the list's height as the list takes it.
MainWindowLayout ResizeMainWindow(int width, int height, MainWindowLayout layout,
                                  const ListHeightRounding& listHeightShown);
