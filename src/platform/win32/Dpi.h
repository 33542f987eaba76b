#pragma once
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI a window is shown at. GetDpiForWindow and GetDpiForSystem exist from Windows 10
// on, so they are looked up at run time; older systems give the screen's LOGPIXELSY.
UINT DpiForWindow(HWND window);
UINT SystemDpi();

// Twips (1/1440 inch) to pixels at a DPI.
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// The CreateFontW height (negative: character height) of a size in hundredths of a point.
inline int FontHeight(int hundredthsOfPoint, UINT dpi) {
    return -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
}
