#pragma once
#include <windows.h>

// What a form leaves on its top-level window for code that has only the window: the message
// loop finds the form's menu shortcuts there.

// The form itself: set on every form's window.
inline constexpr wchar_t kFormProperty[] = L"Tavimero.Form";
// The form's menu shortcuts (an HACCEL), when it has any.
inline constexpr wchar_t kAcceleratorsProperty[] = L"Tavimero.Accelerators";
// The program icon in the resource file; windows of programs without it get the standard one.
inline constexpr int kIconResource = 1;
