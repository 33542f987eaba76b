#include "platform/win32/Win32Form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/Dpi.h"
#include "platform/win32/FormWindowMarks.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"

// Where a form's controls stand and how they look at the window's DPI: creating them from the
// table, placing them in pixels from their twips, fonts, icons, and a change of DPI.

namespace {

// A drop-down list shows this many entries' worth of height when it opens.
constexpr int kDropDownRows = 8;

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const ControlSpec& control) {
    const unsigned s = control.style;
    switch (control.kind) {
    case ControlKind::TextBox: {
        DWORD style = WS_TABSTOP | ES_LEFT;
        // Without ES_WANTRETURN, Enter goes to the default button; Ctrl+Enter breaks the line.
        style |= (s & StyleMultiLine) ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        if (s & StyleVScroll) style |= WS_VSCROLL;
        if (s & StyleReadOnly) style |= ES_READONLY;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::ListBox: {
        // Without LBS_NOINTEGRALHEIGHT the list shows whole lines only. It shows entries where
        // the program puts them; the program keeps their order. A list with images draws its
        // entries itself and still keeps their texts, for LB_GETTEXT and type-ahead.
        DWORD style = WS_TABSTOP | LBS_NOTIFY | WS_VSCROLL;
        if (s & StyleItemImages) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        return {L"LISTBOX", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Button:
        return {L"BUTTON",
                static_cast<DWORD>(WS_TABSTOP |
                                   ((s & StyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
    case ControlKind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::OptionButton:
        // The tab stop and the group start are set once all controls exist.
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::Frame:
        // A scrolling frame is a window of its own that holds its controls; the dialog keys
        // go into it as into the form.
        if (s & StyleScrolls)
            return {Win32ScrollArea::ClassName(), WS_VSCROLL, WS_EX_CONTROLPARENT};
        return {L"BUTTON", WS_GROUP | BS_GROUPBOX, 0};
    case ControlKind::Label:
        // Captions are data (addresses, dates), never mnemonics.
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::ComboBox:
        return {L"COMBOBOX",
                static_cast<DWORD>(
                    WS_TABSTOP | WS_VSCROLL |
                    ((s & StyleEditable) ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST)),
                0};
    case ControlKind::Timer:
        break;
    }
    throw std::logic_error("no window for this control kind");
}

bool IsScrollArea(const ControlSpec& control) {
    return control.kind == ControlKind::Frame && (control.style & StyleScrolls);
}

// A list shows whole lines of its font, which it fits its height to only when it is sized; a
// scrolling frame's contents decide how far it scrolls.
bool PlacedAfterFonts(const ControlSpec& control) {
    return control.kind == ControlKind::ListBox || IsScrollArea(control);
}

// Where the child stands, in its parent's client pixels.
RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

Win32ScrollArea* Win32Form::scrollAreaOf(const Entry& entry) const {
    const Entry* container = entryNamed(entry.layout.container);
    if (!container || !IsScrollArea(container->layout)) return nullptr;
    return static_cast<Win32ScrollArea*>(container->control.get());
}

HWND Win32Form::parentFor(const ControlSpec& control) const {
    if (control.container.empty()) return window_;
    if (const Entry* container = entryNamed(control.container))
        return IsScrollArea(container->layout) ? container->control->window() : window_;
    for (const ControlSpec& other : table_.controls) {
        if (other.name == control.container && IsScrollArea(other))
            throw std::logic_error(
                "a scrolling frame must come before its controls in the tab order");
    }
    return window_;
}

SIZE Win32Form::tableSize() const {
    if (table_.clientWidthTwips > 0 && table_.clientHeightTwips > 0) {
        RECT rect{0, 0, TwipsToPixels(table_.clientWidthTwips, dpi_),
                  TwipsToPixels(table_.clientHeightTwips, dpi_)};
        AdjustWindowRectForDpi(rect, style_, !table_.menus.empty(), exStyle_, dpi_);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    return {TwipsToPixels(table_.outerWidthTwips, dpi_),
            TwipsToPixels(table_.outerHeightTwips, dpi_)};
}

std::unique_ptr<ControlWindow> Win32Form::createControl(const ControlSpec& control) {
    if (control.kind == ControlKind::Timer)
        return std::make_unique<Win32Timer>(static_cast<ControlSite&>(*this),
                                            static_cast<UINT_PTR>(control.id));
    const WindowKind kind = KindOf(control);
    const bool noCaption = control.kind == ControlKind::Frame && (control.style & StyleNoCaption);
    // A text box's caption is its first text; a list has none.
    const bool hasCaption =
        !noCaption && control.kind != ControlKind::ListBox && control.kind != ControlKind::ComboBox;
    // Made where it stands, which saves a move per control; a list and a scrolling frame are
    // placed once their font and their contents are there (createControls).
    const RECT at = PlacedAfterFonts(control) ? RECT{} : windowRect(control);
    HWND child = CreateWindowExW(kind.exStyle, kind.className,
                                 hasCaption ? ToWide(control.caption).c_str() : L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, at.left,
                                 at.top, at.right - at.left, at.bottom - at.top, parentFor(control),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!child) ThrowSystemError();
    ControlSite& site = *this;
    switch (control.kind) {
    case ControlKind::TextBox:
        return std::make_unique<Win32TextBox>(child, site);
    case ControlKind::ListBox:
        return std::make_unique<Win32ListBox>(child, site);
    case ControlKind::Button:
        return std::make_unique<Win32Button>(child, site, static_cast<DefaultButtonKeeper&>(*this));
    case ControlKind::CheckBox:
        return std::make_unique<Win32CheckBox>(child, site);
    case ControlKind::OptionButton:
        return std::make_unique<Win32OptionButton>(child, site);
    case ControlKind::Frame:
        if (IsScrollArea(control)) return std::make_unique<Win32ScrollArea>(child, site);
        return std::make_unique<Win32Frame>(child, site, noCaption);
    case ControlKind::Label:
        return std::make_unique<Win32Label>(child, site);
    case ControlKind::ComboBox:
        return std::make_unique<Win32ComboBox>(child, site);
    case ControlKind::Timer:
        break;
    }
    DestroyWindow(child);
    throw std::logic_error("unknown control kind");
}

void Win32Form::createControls() {
    for (const ControlSpec& control : InTabOrder(table_.controls)) {
        std::unique_ptr<ControlWindow> object = createControl(control);
        if (control.kind == ControlKind::Button && (control.style & StyleDefaultButton))
            defaultId_ = control.id;
        if (control.kind == ControlKind::Button && (control.style & StyleCancelButton))
            cancelId_ = control.id;
        // Registered as drop targets after the first paint (shownFirst): OLE's registration is
        // slow under Wine, and nothing can be dropped on a window not yet seen.
        if (control.style & StyleAcceptsFiles) acceptingFiles_.push_back(object.get());
        if (control.style & StyleTakesEnter) object->takeEnter();
        // The option buttons of one container follow each other in the tab order, so that
        // they form one group for the arrow keys.
        if (control.kind == ControlKind::OptionButton) {
            for (auto entry = controls_.rbegin(); entry != controls_.rend(); ++entry) {
                if (entry->layout.kind == ControlKind::OptionButton &&
                    entry->layout.container == control.container) {
                    SetWindowPos(object->window(), entry->control->window(), 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                    break;
                }
            }
        }
        byName_[control.name] = object.get();
        controls_.push_back({control, std::move(object)});
    }
    // Frames go to the bottom of the z-order so that they never paint over the controls
    // placed on them. A scrolling frame holds its controls and keeps its place in the tab order.
    for (const Entry& entry : controls_) {
        if (entry.layout.kind == ControlKind::Frame && !IsScrollArea(entry.layout))
            SetWindowPos(entry.control->window(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    groupOptionButtons();
    setFonts();
    for (const Entry& entry : controls_)
        if (PlacedAfterFonts(entry.layout)) placeOnly(entry, true);
}

void Win32Form::groupOptionButtons() {
    // Without option buttons there is no group to mark.
    if (std::none_of(controls_.begin(), controls_.end(), [](const Entry& entry) {
            return entry.layout.kind == ControlKind::OptionButton;
        }))
        return;
    const Entry* previous = nullptr;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlWindow* control = controlOf(child);
        const Entry* entry = control ? entryOf(*control) : nullptr;
        const bool option = entry && entry->layout.kind == ControlKind::OptionButton;
        const bool previousOption = previous && previous->layout.kind == ControlKind::OptionButton;
        const LONG before = GetWindowLongW(child, GWL_STYLE);
        LONG style = before;
        if (option && !(previousOption && previous->layout.container == entry->layout.container)) {
            // The first of its container: the group starts here, and Tab stops here until
            // another option of the group is chosen.
            style |= WS_GROUP | WS_TABSTOP;
        } else if (option) {
            style &= ~(WS_GROUP | WS_TABSTOP);
        } else if (previousOption) {
            style |= WS_GROUP;  // ends the group before it
        }
        // Each change of style is a message to the control: only a style that differs is set.
        if (style != before) SetWindowLongW(child, GWL_STYLE, style);
        previous = entry;
    }
}

const ControlSpec* Win32Form::layoutNamed(const std::string& name) const {
    if (name.empty()) return nullptr;
    if (const Entry* entry = entryNamed(name)) return &entry->layout;
    for (const ControlSpec& control : table_.controls)
        if (control.name == name) return &control;
    return nullptr;
}

RECT Win32Form::pixelRect(const ControlSpec& layout) const {
    const TwipsRect& rect = layout.rect;
    int left = TwipsToPixels(rect.left, dpi_);
    int top = TwipsToPixels(rect.top, dpi_);
    // Controls in a frame are placed relative to the frame's top-left corner where the frame
    // stands now (and frames may sit in frames). The depth limit guards against a table that
    // names itself.
    // In a scrolling frame they stand in its own window, moved up by its offset.
    const ControlSpec* container = layoutNamed(layout.container);
    for (int depth = 0; container && depth < 16; ++depth) {
        if (IsScrollArea(*container)) {
            if (const Entry* area = entryNamed(container->name))
                top -= static_cast<const Win32ScrollArea&>(*area->control).offset();
            break;
        }
        left += TwipsToPixels(container->rect.left, dpi_);
        top += TwipsToPixels(container->rect.top, dpi_);
        container = layoutNamed(container->container);
    }
    return {left, top, left + TwipsToPixels(rect.width, dpi_),
            top + TwipsToPixels(rect.height, dpi_)};
}

RECT Win32Form::windowRect(const ControlSpec& layout) const {
    RECT rect = pixelRect(layout);
    // A drop-down list's height includes its list; the closed box takes the font's height.
    if (layout.kind == ControlKind::ComboBox)
        rect.bottom = rect.top + (rect.bottom - rect.top) * kDropDownRows;
    return rect;
}

void Win32Form::placeOnly(const Entry& entry, bool always) {
    HWND child = entry.control->window();
    if (!child) return;
    const RECT rect = windowRect(entry.layout);
    const RECT now = RectInParent(child);
    // A move costs the control its messages (and a text box its layout) even when nothing
    // changes, and a resize runs every control of the window through it.
    const bool standsThere =
        EqualRect(&now, &rect) || (EqualRect(&rect, &entry.asked) && EqualRect(&now, &entry.took));
    if (always || !standsThere) {
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        entry.took = RectInParent(child);
    } else {
        entry.took = now;
    }
    entry.asked = rect;
    if (IsScrollArea(entry.layout)) {
        // What it holds reaches down to its lowest control.
        int content = 0;
        for (const Entry& inner : controls_) {
            if (inner.layout.container == entry.layout.name)
                content = std::max(
                    content, TwipsToPixels(inner.layout.rect.top + inner.layout.rect.height, dpi_));
        }
        static_cast<Win32ScrollArea&>(*entry.control).setContentHeight(content);
    }
}

void Win32Form::place(const Entry& entry, int depth) {
    placeOnly(entry, false);
    // The depth limit guards against a table whose frames hold each other.
    if (entry.layout.kind != ControlKind::Frame || depth >= 16) return;
    for (const Entry& inner : controls_)
        if (inner.layout.container == entry.layout.name) place(inner, depth + 1);
}

void Win32Form::scrolled(const ControlWindow& area) {
    const Entry* entry = entryOf(area);
    if (!entry) return;
    for (const Entry& inner : controls_)
        if (inner.layout.container == entry->layout.name) place(inner);
}

void Win32Form::focusEntered(const ControlWindow& control) {
    const Entry* entry = entryOf(control);
    if (!entry) return;
    if (Win32ScrollArea* area = scrollAreaOf(*entry)) {
        const TwipsRect& rect = entry->layout.rect;
        area->showBand(TwipsToPixels(rect.top, dpi_), TwipsToPixels(rect.top + rect.height, dpi_));
    }
}

TwipsRect Win32Form::rectOf(const ControlWindow& control) const {
    const Entry* entry = entryOf(control);
    if (!entry) return {};
    TwipsRect rect = entry->layout.rect;
    // A list shows whole lines only: its height is what it took, not what it was asked for.
    if (entry->layout.kind == ControlKind::ListBox && control.window()) {
        RECT pixels{};
        GetWindowRect(control.window(), &pixels);
        rect.height = PixelsToTwips(pixels.bottom - pixels.top, dpi_);
    }
    return rect;
}

void Win32Form::moveControl(const ControlWindow& control, const TwipsRect& rect) {
    Entry* entry = entryOf(control);
    if (!entry) return;
    entry->layout.rect = rect;
    place(*entry);
}

void Win32Form::optionChosen(const ControlWindow& option) {
    const Entry* chosen = entryOf(option);
    if (!chosen) return;
    for (const Entry& entry : controls_) {
        if (entry.layout.kind != ControlKind::OptionButton ||
            entry.layout.container != chosen->layout.container)
            continue;
        HWND button = entry.control->window();
        const bool isChosen = &entry == chosen;
        if (!isChosen) SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);
        // Tab reaches the group at its chosen option.
        const LONG style = GetWindowLongW(button, GWL_STYLE);
        SetWindowLongW(button, GWL_STYLE, isChosen ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

HFONT Win32Form::fontFor(const FontSpec& font) {
    const std::string& face = font.face.empty() ? table_.font.face : font.face;
    int size = font.hundredthsOfPoint ? font.hundredthsOfPoint : table_.font.hundredthsOfPoint;
    if (size <= 0) size = 900;
    HFONT& cached = fonts_[{face, size}];
    if (!cached) {
        cached = CreateFontW(FontHeight(size, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, ToWide(face).c_str());
    }
    return cached;
}

void Win32Form::releaseFonts() {
    for (auto& [key, font] : fonts_)
        if (font) DeleteObject(font);
    fonts_.clear();
}

void Win32Form::setFonts() {
    for (const Entry& entry : controls_) {
        if (HWND child = entry.control->window())
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(entry.layout.font)),
                         FALSE);
    }
}

void Win32Form::layOut() {
    // The controls switch to the new fonts before the old ones are deleted; the font comes
    // first, as a list's line height (and so its height) follows it. Each control is placed
    // once (a frame's own move is not repeated for what it holds).
    auto previousFonts = std::move(fonts_);
    fonts_.clear();
    setFonts();
    for (const Entry& entry : controls_) placeOnly(entry, true);
    for (auto& [key, font] : previousFonts)
        if (font) DeleteObject(font);
    InvalidateRect(window_, nullptr, TRUE);
}

HICON Win32Form::LoadProgramIcon(bool big, UINT dpi) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                   SystemMetricForDpi(big ? SM_CXICON : SM_CXSMICON, dpi),
                   SystemMetricForDpi(big ? SM_CYICON : SM_CYSMICON, dpi), LR_DEFAULTCOLOR));
}

void Win32Form::applyIcons() {
    HICON big = LoadProgramIcon(true, dpi_);
    HICON small = LoadProgramIcon(false, dpi_);
    if (!big || !small) {
        // A program without the icon keeps its class icon.
        if (big) DestroyIcon(big);
        if (small) DestroyIcon(small);
        return;
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    releaseIcons();
    bigIcon_ = big;
    smallIcon_ = small;
}

void Win32Form::releaseIcons() {
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    bigIcon_ = smallIcon_ = nullptr;
}

LRESULT Win32Form::dpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The controls stand where their twips say, in fonts, images and icons for the new DPI;
    // taking the suggested rectangle then reports the new size, and the program lays out
    // what depends on it.
    layOut();
    if (toolbar_) toolbar_->setDpi(dpi_);
    applyIcons();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void Win32Form::applyAccessibleNames() {
    // After the first paint: the annotation service is a library of its own, which the window
    // need not wait for.
    std::vector<AccessibleNamer::Named> names;
    for (const Entry& entry : controls_) {
        HWND child = entry.control->window();
        if (child && !entry.layout.accessibleName.empty())
            names.push_back({child, ToWide(entry.layout.accessibleName)});
    }
    if (names.empty() || namer_.name(names) == 0) return;
    for (const AccessibleNamer::Named& named : names) named_.push_back(named.control);
}

void Win32Form::clearAccessibleNames() {
    namer_.clear(named_);
    named_.clear();
}
