#pragma once

// Steps with the system's boxes that the program shows (message boxes, the open and save
// boxes), worked from outside as a user would, and files a test puts in place before the
// program starts.

#include <string>
#include <string_view>

#include "Driver.h"

namespace e2e {

// Writes bytes as the whole file; false when it cannot be written.
inline bool writeBytes(const std::wstring& path, std::string_view bytes) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

// Posts a message and returns at once: for commands that open a modal box, which a sent
// message would wait for.
inline void post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    PostMessageW(window, message, wParam, lParam);
}
inline void postMenuCommand(const Session& s, int menuId) {
    post(s.window(), WM_COMMAND, MAKEWPARAM(menuId, 0));
}

// A box of the program (dialog class) with this caption, or nullptr at the deadline.
inline HWND waitForBox(const Session& s, std::string_view caption) {
    return waitForWindowOf(s.pid(), widen(caption), kEffectTimeout, nullptr, true);
}

// Presses a button of a box (IDOK, IDCANCEL, IDYES, ...) and waits until the box is gone.
inline bool pressAndWaitForClose(HWND box, int button) {
    post(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    return waitForWindowGone(box);
}

// Types a name into the file name box of an open or save box: the combo box cmb13 of the
// explorer-style box, or the edit edt1 of older templates. False when the box has neither or
// the text did not arrive.
inline bool typeFileName(HWND box, std::string_view name) {
    HWND field = childById(box, 0x47C);
    if (!field) field = childById(box, 0x480);
    if (!field) return false;
    setWindowText(field, name);
    return windowText(field) == name;
}

// The text on the clipboard, read by the test itself.
inline std::string clipboardText() {
    if (!pollUntil([] { return OpenClipboard(nullptr) != FALSE; }, kEffectTimeout))
        return "(clipboard busy)";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = narrow(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace e2e
