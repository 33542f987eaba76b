#pragma once
// Every control kind a form builds from its table.
#include "platform/win32/ControlWindow.h"
#include "platform/win32/Win32Buttons.h"
#include "platform/win32/Win32ComboBox.h"
#include "platform/win32/Win32ListBox.h"
#include "platform/win32/Win32ScrollArea.h"
#include "platform/win32/Win32TextBox.h"
#include "platform/win32/Win32Timer.h"
