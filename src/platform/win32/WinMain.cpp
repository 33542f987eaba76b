#include <ole2.h>

#include <exception>
#include <new>

#include "forms/frmDosLaunch.h"
#include "forms/mdlDos.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "text/Product.h"

namespace {

template <class Function>
Function Kernel32Function(const char* name) {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (!kernel32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32, name)));
}

// DLLs come from the system folder only, never from the current or the program's folder.
// SetDefaultDllDirectories is missing on Windows 7 without its security update; there
// SetDllDirectoryW("") at least takes the current folder out of the search. Both are looked up
// at run time, so that a system without either still starts.
void RestrictDllSearch() {
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (const auto noCurrentFolder = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryW")) {
        noCurrentFolder(L"");
    }
    if (const auto systemOnly =
            Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories")) {
        systemOnly(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

std::wstring ErrorText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error)) return L"メモリが不足しています。";
    return ToWide(error.what());
}

// A failure that no handler expected ended one action; the program goes on.
void ReportFailedAction(const std::exception& error) {
    HWND owner = GetActiveWindow();
    const std::wstring text =
        ErrorText(error) + L"\r\n\r\nこの操作は中断されました。作業は続けられます。";
    MessageBoxW(owner, text.c_str(), ToWide(captions::Error).c_str(),
                MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
}

// OLE on the thread that owns the windows, for files dropped from the shell (without it the
// controls fall back to the older drop message) and for the controls' accessible names.
class Ole {
public:
    // Started once the main window is on screen: nothing before the first paint needs it, and
    // starting it loads its libraries. The drop targets register, and the names are given, in
    // the message loop's first turn, after this.
    void start() { started_ = SUCCEEDED(OleInitialize(nullptr)); }
    ~Ole() {
        if (started_) OleUninitialize();
    }

private:
    bool started_ = false;
};

int Run() {
    Ole ole;  // ends last, once every window has given up its drop target
    Win32Platform win32;
    mdlDos shared;
    frmDosLaunch main(win32.platform(), shared);
    main.Form_Load();
    if (!main.StartedOk()) return 0;
    main.Show();
    ole.start();
    return RunMessageLoop(ReportFailedAction);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    // A drive without media must never raise a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        return Run();
    } catch (const std::exception& error) {
        // Start-up failed before anything could be changed. Destroying the main window on the
        // way out posted WM_QUIT, which would close the message box at once.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        MessageBoxW(nullptr, ErrorText(error).c_str(), ToWide(captions::Error).c_str(),
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return 1;
    }
}
