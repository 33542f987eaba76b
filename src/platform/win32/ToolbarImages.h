#pragma once
#include <windows.h>
// The common controls header builds on the definitions above.
#include <commctrl.h>

#include "platform/ControlTable.h"

// The side of a toolbar image at a DPI: 16 pixels at 96 DPI, in proportion above.
int ToolbarImageSize(UINT dpi);

// The toolbar's images at the DPI, one per ToolImage value, in the order of the enumeration,
// so that an image's index is its ToolImage value. The system's standard toolbar images where
// one fits, scaled by whole pixels only, so that they never blur: the small set (16 pixels)
// at 100 %, the large set (24 pixels) at 150 %, the small set doubled at 200 %, centred with a
// margin where the size is no multiple. The directory tree is drawn for the exact size.
// parent hosts a hidden toolbar for a moment, which the standard images are loaded through.
// The caller owns the list.
HIMAGELIST CreateToolbarImages(HWND parent, UINT dpi);

// Draws the directory-tree image (a folder with two sub-folders on a tree line) into the
// square of side size at the device context's origin.
void DrawDirectoryTreeImage(HDC dc, int size);
