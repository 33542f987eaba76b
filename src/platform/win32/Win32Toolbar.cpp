#include "platform/win32/Win32Toolbar.h"

#include "platform/win32/ToolbarImages.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"

Win32Toolbar::Win32Toolbar(HWND form, const ToolbarSpec& table, UINT dpi)
    : form_(form), table_(table) {
    for (const ToolButtonSpec& button : table_.buttons) tooltips_.push_back(ToWide(button.tooltip));
    create(dpi);
}

Win32Toolbar::~Win32Toolbar() { destroy(); }

void Win32Toolbar::create(UINT dpi) {
    // Flat buttons without the line above them: the menu bar's edge separates them already.
    window_ =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                            CCS_TOP | CCS_NODIVIDER,
                        0, 0, 0, 0, form_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(table_.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!window_) ThrowSystemError();
    dpi_ = dpi;
    SendMessageW(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The buttons take their size from the images' size, which is known before the images are.
    const int size = ToolbarImageSize(dpi);
    SendMessageW(window_, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));

    std::vector<TBBUTTON> buttons;
    for (size_t i = 0; i < table_.buttons.size(); ++i) {
        const ToolButtonSpec& entry = table_.buttons[i];
        TBBUTTON button{};
        // A separator's image index is its width.
        button.iBitmap = entry.isSeparator() ? MulDiv(8, static_cast<int>(dpi), 96)
                                             : static_cast<int>(entry.image);
        button.idCommand = entry.command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = entry.isSeparator() ? BTNS_SEP : BTNS_BUTTON;
        button.iString = -1;
        buttons.push_back(button);
    }
    SendMessageW(window_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(window_, TB_AUTOSIZE, 0, 0);
}

void Win32Toolbar::addImages() {
    if (!window_ || images_) return;
    images_ = CreateToolbarImages(form_, dpi_);
    SendMessageW(window_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
}

void Win32Toolbar::destroy() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
    if (images_) ImageList_Destroy(images_);
    images_ = nullptr;
}

void Win32Toolbar::setDpi(UINT dpi) {
    // Button sizes follow the image size only when the buttons are added, so the toolbar is
    // made again.
    destroy();
    create(dpi);
    addImages();
}

bool Win32Toolbar::sends(int command) const {
    if (command == 0) return false;
    for (const ToolButtonSpec& button : table_.buttons)
        if (button.command == command) return true;
    return false;
}

const std::wstring* Win32Toolbar::tooltipOf(UINT_PTR command) const {
    for (size_t i = 0; i < table_.buttons.size(); ++i) {
        const ToolButtonSpec& button = table_.buttons[i];
        if (!button.isSeparator() && static_cast<UINT_PTR>(button.command) == command)
            return &tooltips_[i];
    }
    return nullptr;
}

bool Win32Toolbar::notify(NMHDR& header) const {
    if (!window_) return false;
    // The toolbar asks for the tip of a button first; its tooltip window then passes its own
    // request on. An empty text shows no tooltip.
    if (header.code == TBN_GETINFOTIPW && header.hwndFrom == window_) {
        auto& request = reinterpret_cast<NMTBGETINFOTIPW&>(header);
        const std::wstring* tip = tooltipOf(static_cast<UINT_PTR>(request.iItem));
        if (tip && request.pszText && request.cchTextMax > 0)
            lstrcpynW(request.pszText, tip->c_str(), request.cchTextMax);
        return true;
    }
    const auto tooltips = reinterpret_cast<HWND>(SendMessageW(window_, TB_GETTOOLTIPS, 0, 0));
    if (header.code == TTN_GETDISPINFOW && tooltips && header.hwndFrom == tooltips) {
        auto& request = reinterpret_cast<NMTTDISPINFOW&>(header);
        const std::wstring* tip = tooltipOf(header.idFrom);
        request.hinst = nullptr;
        request.szText[0] = L'\0';
        request.lpszText = tip ? const_cast<wchar_t*>(tip->c_str()) : request.szText;
        return true;
    }
    return false;
}

void Win32Toolbar::fitToForm() const {
    if (window_) SendMessageW(window_, TB_AUTOSIZE, 0, 0);
}
