#pragma once
#include <windows.h>
// The common controls header builds on the definitions above.
#include <commctrl.h>
