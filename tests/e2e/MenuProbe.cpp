// A helper library the end-to-end tests load into the running program to read its menu bar:
// menus belong to the process that made them, and Wine answers menu calls only there. Loaded,
// it writes the main window's menus beside itself (MenuProbe.dll -> MenuProbe.txt) and refuses
// to stay loaded. It calls nothing that sends messages, so it is safe while the loader runs.
//
// One line per menu entry, UTF-8: depth, a tab, the command id (0 for a menu or a separator),
// a tab, "-" for a separator or the entry's text as the menu shows it.

#include <string>

#include "ProbeSupport.h"

namespace {

void Describe(HMENU menu, int depth, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        out += std::to_string(depth) + "\t" +
               std::to_string(info.hSubMenu || separator ? 0 : info.wID) + "\t" +
               (separator ? std::string("-") : probe::Utf8(text)) + "\n";
        if (info.hSubMenu) Describe(info.hSubMenu, depth + 1, out);
    }
}

void WriteMenus(HINSTANCE self) {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH * 2);
    std::wstring file(path, length);
    file = file.substr(0, file.find_last_of(L'.')) + L".txt";
    const HWND main = probe::MainWindow();
    std::string out;
    if (HMENU bar = main ? GetMenu(main) : nullptr) Describe(bar, 0, out);
    probe::WriteAll(file, out);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    WriteMenus(self);
    return FALSE;  // done: unloaded at once
}
