#pragma once
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI a window is shown at. GetDpiForWindow and GetDpiForSystem exist from Windows 10 on,
// so they are looked up at run time; older systems give the screen's LOGPIXELSY.
UINT DpiForWindow(HWND window);
UINT SystemDpi();

// A system metric (GetSystemMetrics index) for a DPI: GetSystemMetricsForDpi where the system
// has it, else the metric at the system DPI scaled to the DPI.
int SystemMetricForDpi(int index, UINT dpi);

// Grows a client rectangle to the window rectangle for the styles at a DPI
// (AdjustWindowRectExForDpi where the system has it).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi);

// Twips (1/1440 inch) to pixels at a DPI, and back.
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
inline int PixelsToTwips(int pixels, UINT dpi) {
    return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

// The CreateFontW height (negative: character height) of a size in hundredths of a point.
inline int FontHeight(int hundredthsOfPoint, UINT dpi) {
    return -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
}
