#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"

class ControlWindow;
class Win32DropTarget;

// What a control asks of the form it sits on. The form keeps every control's rectangle in
// twips together with its container, and converts it for the window's DPI.
class ControlSite {
public:
    virtual ~ControlSite() = default;
    virtual HWND formWindow() const = 0;
    virtual TwipsRect rectOf(const ControlWindow& control) const = 0;
    virtual void moveControl(const ControlWindow& control, const TwipsRect& rect) = 0;
    // An option button was chosen: the other option buttons of its container are cleared.
    virtual void optionChosen(const ControlWindow& option) = 0;
    // Where the next pop-up menu appears (screen pixels) when it is opened from the keyboard
    // rather than at the mouse; null: at the mouse again.
    virtual void setPopupAnchor(const POINT* screen) = 0;
};

// The window behind one control: subclassed so that key-down and focus events reach the
// control object before the control handles them as usual, and told by its form about the
// WM_COMMAND notifications it sent. A timer has no window of its own (window() is null).
class ControlWindow {
public:
    ControlWindow(HWND window, Control& events, ControlSite& site);
    virtual ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    HWND window() const { return window_; }
    ControlSite& site() const { return site_; }
    // A notification code from WM_COMMAND.
    virtual void notify(WORD /*code*/) {}
    // The text colour to paint with, when the program chose one.
    virtual std::optional<COLORREF> foreColour() const { return std::nullopt; }
    // Makes the control a drop target for file lists from the shell. Called once by the form
    // for controls declared with StyleAcceptsFiles.
    virtual void acceptFiles() {}
    // The OLE drop target registered for the control, or null.
    Win32DropTarget* dropTarget() const { return dropTarget_; }

protected:
    // Lets a control act on a message before (and instead of) the usual handling.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    using FilesHandler = std::function<void(const std::vector<std::string>&)>;
    // Registers the OLE drop target; without OLE on this thread, falls back to WM_DROPFILES.
    void registerDropTarget(FilesHandler handler);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void revokeDropTarget();

    HWND window_;
    Control& events_;
    ControlSite& site_;
    Win32DropTarget* dropTarget_ = nullptr;
    FilesHandler droppedFiles_;  // for the WM_DROPFILES fallback
};

// The shift state of a key event as ShiftState bits (1 Shift, 2 Ctrl, 4 Alt).
int CurrentShiftState();

// The members every kind shares, on top of the kind's interface.
template <class Interface>
class Win32Control : public Interface, public ControlWindow {
public:
    Win32Control(HWND window, ControlSite& site) : ControlWindow(window, *this, site) {}
    bool enabled() const override { return IsWindowEnabled(window()) != FALSE; }
    void setEnabled(bool on) override {
        // Disabling the control with the focus leaves the focus nowhere; when the control is
        // enabled again before anything else took the focus, it gets the focus back.
        if (!on && GetFocus() == window()) refocusWhenEnabled_ = true;
        EnableWindow(window(), on ? TRUE : FALSE);
        if (on && refocusWhenEnabled_) {
            refocusWhenEnabled_ = false;
            if (!GetFocus() && GetActiveWindow() == GetAncestor(window(), GA_ROOT))
                SetFocus(window());
        }
    }
    void setFocus() override { SetFocus(window()); }
    bool hasFocus() const override { return window() && GetFocus() == window(); }
    TwipsRect rect() const override { return site().rectOf(*this); }
    void move(const TwipsRect& rect) override { site().moveControl(*this, rect); }

private:
    bool refocusWhenEnabled_ = false;
};

class Win32TextBox final : public Win32Control<TextBox> {
public:
    using Win32Control::Win32Control;
    std::string text() const override;
    void setText(const std::string& text) override;
    int selStart() const override;
    void setSelStart(int position) override;
    int selLength() const override;
    void setSelLength(int length) override;
    std::string selText() const override;
    void setSelText(const std::string& text) override;
    void setForeColour(SystemColour colour) override;

    void notify(WORD code) override;
    std::optional<COLORREF> foreColour() const override;
    void acceptFiles() override;
    // The control's own context menu is never shown.
    void hideOwnContextMenu() { hideContextMenu_ = true; }

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The selection as the control reports it: start and end in UTF-16 units.
    std::pair<DWORD, DWORD> selection() const;
    // The point below the caret, in screen pixels, for a menu opened from the keyboard.
    POINT caretPoint() const;

    std::optional<SystemColour> colour_;
    // Set while the control handles WM_SETTEXT: the change is reported once, after it.
    int settingText_ = 0;
    // Set while the program itself sets the text: setText reports the change directly.
    int programSetsText_ = 0;
    // Set while the program replaces the selection: setSelText reports the change directly.
    int replacingSelection_ = 0;
    bool hideContextMenu_ = false;
};

// A list box. A sorted list places entries itself, ignoring letter case, a new entry after
// the entries equal to it, in the order of the user's locale (as the system's sorted lists
// compare); LB_ADDSTRING from anywhere, other programs included, places entries that way.
// A copy of the entries is kept beside the control, in step with every change, so that
// reading and finding entries needs no round trip through the control.
class Win32ListBox final : public Win32Control<ListBox> {
public:
    Win32ListBox(HWND window, ControlSite& site, bool sorted);
    int count() const override;
    std::string item(int index) const override;
    int addItem(const std::string& text) override;
    void addItems(const std::vector<std::string>& texts) override;
    int find(const std::string& text) const override;
    void removeItem(int index) override;
    void clear() override;
    int listIndex() const override;
    void setListIndex(int index) override;

    void notify(WORD code) override;
    void acceptFiles() override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Item {
        std::wstring text;
        std::string key;  // the sort key of a sorted list's entry
    };
    // Bytes whose order (memcmp) is the list's order of the texts.
    static std::string SortKey(const std::wstring& text);
    Item itemFor(std::wstring text) const;
    // The index a sorted list gives a new entry with the key.
    size_t placeFor(const std::string& key) const;
    // Adds entries, already in their order, at the end with as little work per entry as the
    // control allows.
    void append(std::vector<Item> entries);
    LRESULT insert(size_t index, const wchar_t* text);

    bool sorted_;
    std::vector<Item> items_;
};

// Keeps which button of a form is the default one; the form answers DM_GETDEFID from it.
// While a push button has the focus, Enter presses that button instead, as in a dialog box.
class DefaultButtonKeeper {
public:
    virtual ~DefaultButtonKeeper() = default;
    virtual int defaultButtonId() const = 0;
    virtual void setDefaultButtonId(int id) = 0;
    virtual void buttonFocusChanged(int id, bool focused) = 0;
};

class Win32Button final : public Win32Control<Button> {
public:
    Win32Button(HWND window, ControlSite& site, DefaultButtonKeeper& keeper);
    bool isDefault() const override;
    void setDefault(bool on) override;
    void click() override;

    void notify(WORD code) override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    DefaultButtonKeeper& keeper_;
};

class Win32CheckBox final : public Win32Control<CheckBox> {
public:
    using Win32Control::Win32Control;
    int value() const override;
    void setValue(int value) override;

    void notify(WORD code) override;
};

// A round choice button, handed out as a check box: value 1 means chosen. Choosing one, by the
// user or by setValue(1), clears the other option buttons of its container.
class Win32OptionButton final : public Win32Control<CheckBox> {
public:
    using Win32Control::Win32Control;
    int value() const override;
    void setValue(int value) override;

    void notify(WORD code) override;
};

// A frame is a group box. Without a caption it is drawn as an etched rectangle from its top
// edge, as a group box would leave the top line half a text line down, behind the controls
// placed at the top of the frame.
class Win32Frame final : public Win32Control<Frame> {
public:
    Win32Frame(HWND window, ControlSite& site, bool captionless)
        : Win32Control(window, site), captionless_(captionless) {}

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool captionless_;
};

class Win32Label final : public Win32Control<Label> {
public:
    using Win32Control::Win32Control;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
};

// A timer of the form window: WM_TIMER with the timer's control id reaches fire().
class Win32Timer final : public Win32Control<Timer> {
public:
    Win32Timer(ControlSite& site, UINT_PTR id);
    ~Win32Timer() override;
    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override;
    // A stopped timer keeps its interval and goes on from the start when enabled again.
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override;
    void setFocus() override {}
    bool hasFocus() const override { return false; }

    UINT_PTR id() const { return id_; }
    void fire();

private:
    void restart();

    UINT_PTR id_;
    int interval_ = 0;
    bool enabled_ = true;
};

class Win32ComboBox final : public Win32Control<ComboBox> {
public:
    using Win32Control::Win32Control;
    int count() const override;
    std::string item(int index) const override;
    void addItem(const std::string& text) override;
    void clear() override;
    int listIndex() const override;
    void setListIndex(int index) override;

    void notify(WORD code) override;
};
