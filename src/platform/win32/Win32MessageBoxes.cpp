#include "platform/win32/Win32MessageBoxes.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace {

UINT ButtonFlags(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::YesNoCancel:
        return MB_YESNOCANCEL | MB_DEFBUTTON1;
    case MessageButtons::YesNo:
        return MB_YESNO | MB_DEFBUTTON2;
    case MessageButtons::Ok:
        break;
    }
    return MB_OK;
}

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case MessageIcon::Question:
        return MB_ICONQUESTION;
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Error:
        return MB_ICONERROR;
    case MessageIcon::None:
        break;
    }
    return 0;
}

}  // namespace

MessageResult Win32MessageBoxes::show(const std::string& text, const std::string& title,
                                      MessageIcon icon, MessageButtons buttons) {
    // Owned by this thread's active window, so that the box is modal to it.
    HWND owner = GetActiveWindow();
    const UINT type = IconFlag(icon) | ButtonFlags(buttons) | (owner ? 0 : MB_TASKMODAL);
    switch (MessageBoxW(owner, ToWide(text).c_str(), ToWide(title).c_str(), type)) {
    case IDYES:
        return MessageResult::Yes;
    case IDNO:
        return MessageResult::No;
    case IDCANCEL:
        return MessageResult::Cancel;
    default:
        return MessageResult::Ok;
    }
}
