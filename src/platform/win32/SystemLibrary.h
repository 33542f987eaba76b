#pragma once
#include <windows.h>

// A library from the system folder, loaded by its full path: the program's own folder, where a
// copy planted under the same name could sit, is never searched. Libraries that Windows does
// not protect from planting (not among its known DLLs) are loaded this way when first needed
// instead of being imported. Nothing when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;
