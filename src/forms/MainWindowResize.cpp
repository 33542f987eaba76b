#include "forms/MainWindowResize.h"

MainWindowLayout ResizeMainWindow(int width, int height, MainWindowLayout layout,
                                  const ListHeightRounding& listHeightShown) {
    if (width - 185 > 0) layout.txtCD.width = width - 185;
    if (width - 120 > 0) {
        layout.lstCommand.width = width - 120;
        layout.txtCommand.width = width - 120;
    }
    // The button frame stays centred.
    if (width / 2 - 2170 > 0) layout.fraButtons.left = width / 2 - 2170;
    if (height - 3450 > 0) layout.lstCommand.height = listHeightShown(height - 3450);
    layout.txtCommand.top = layout.lstCommand.height + 960;
    layout.fraButtons.top = layout.lstCommand.height + 1920;
    return layout;
}
