#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/win32/AccessibleNames.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Toolbar.h"

// A top-level window built from its control table: controls, menu bar and toolbar. The
// controls are children of the window itself (also those placed in a frame, which only
// positions them), so every WM_COMMAND reaches it. The form keeps each control's rectangle in
// twips and places it in pixels for the window's DPI.
class Win32Form final : public Form, private DefaultButtonKeeper, private ControlSite {
public:
    // isMain: destroying this window ends the message loop. The controls' accessible names
    // are given through namer.
    Win32Form(const FormSpec& table, bool isMain, AccessibleNamer& namer = SystemAccessibleNamer());
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    TextBox& textBox(const std::string& name) override;
    ListBox& listBox(const std::string& name) override;
    Button& button(const std::string& name) override;
    CheckBox& checkBox(const std::string& name) override;
    Frame& frame(const std::string& name) override;
    Label& label(const std::string& name) override;
    Timer& timer(const std::string& name) override;
    ComboBox& comboBox(const std::string& name) override;

    std::string activeControlName() const override;
    void popupMenu(const std::string& menuName) override;
    void activate() override;
    void setCaption(const std::string& caption) override;
    void show() override;
    void showModal(Form& owner) override;
    void showOwned(Form& owner, int leftTwips, int topTwips) override;
    void close() override;
    int widthTwips() const override;
    int heightTwips() const override;
    void setSizeTwips(int width, int height) override;
    TwipsSize clientSizeTwips() const override;
    TwipsSize workAreaTwips() const override;
    TwipsSize minimumSizeTwips() const override;
    void* nativeHandle() const override { return window_; }

    HWND window() const { return window_; }
    HWND toolbarWindow() const { return toolbar_ ? toolbar_->window() : nullptr; }
    UINT dpi() const override { return dpi_; }
    // The control adapter behind a name (for tests of the Win32 layer).
    ControlWindow* controlWindow(const std::string& name) const;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    // Dispatches the window's messages to the handlers below.
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT commandReceived(WPARAM wParam, LPARAM lParam);
    LRESULT notified(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT timerFired(WPARAM id);
    LRESULT sized(WPARAM kind);
    LRESULT controlColour(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT itemDrawn(WPARAM wParam, LPARAM lParam);
    LRESULT activated(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT focusReceived();
    LRESULT closeRequested();
    LRESULT sessionEndQueried();
    LRESULT sessionEnded(WPARAM ending);
    LRESULT shownFirst();
    LRESULT destroyed();
    LRESULT dpiChanged(UINT dpi, const RECT& suggested);
    // The dialog keys (Win32FormKeys.cpp).
    LRESULT defaultButtonReply() const;
    LRESULT nextDialogControl(WPARAM wParam, LPARAM lParam);

    // DefaultButtonKeeper
    int defaultButtonId() const override { return defaultId_; }
    void setDefaultButtonId(int id) override;
    void buttonFocusChanged(int id, bool focused) override;
    // Gives the push button that Enter presses now the default-button frame.
    void showDefaultButton();

    // ControlSite
    HWND formWindow() const override { return window_; }
    TwipsRect rectOf(const ControlWindow& control) const override;
    void moveControl(const ControlWindow& control, const TwipsRect& rect) override;
    void optionChosen(const ControlWindow& option) override;
    void setPopupAnchor(const POINT* screen) override;
    void focusEntered(const ControlWindow& control) override;
    void scrolled(const ControlWindow& area) override;

    struct Entry {
        ControlSpec layout;  // layout.rect is where the control stands now, in twips
        std::unique_ptr<ControlWindow> control;
        // The pixels last asked for, and what the control made of them (a list shows whole
        // lines, so it may stand shorter): asked the same again, it would stand the same.
        mutable RECT asked{};
        mutable RECT took{};
    };

    // The outer size in pixels the table asks for at the current DPI.
    SIZE tableSize() const;
    void createControls();
    std::unique_ptr<ControlWindow> createControl(const ControlSpec& control);
    // Marks the first option button of each run of them (and the control after the run) as
    // the start of a group, so that the arrow keys move among the options of one container.
    void groupOptionButtons();
    Entry* entryOf(const ControlWindow& control);
    const Entry* entryOf(const ControlWindow& control) const;
    const Entry* entryNamed(const std::string& name) const;
    // The scrolling frame the entry sits in directly, or null.
    Win32ScrollArea* scrollAreaOf(const Entry& entry) const;
    // The window a control is created in: the form's, or its scrolling frame's.
    HWND parentFor(const ControlSpec& control) const;
    // The layout of the control named: its entry's once the control is made, else the table's.
    const ControlSpec* layoutNamed(const std::string& name) const;
    // Positions the control for the current DPI; a frame takes the controls in it along.
    void place(const Entry& entry, int depth = 0);
    // Positions the one control, unless it stands there already and nothing asks for `always`
    // (a list fits its height to whole lines of its font only when it is sized).
    void placeOnly(const Entry& entry, bool always);
    // Sets the fonts for the window's current DPI and positions every control.
    void layOut();
    void setFonts();
    // Where the control's window goes, in its parent's pixels: a drop-down list's height
    // includes its open list.
    RECT windowRect(const ControlSpec& layout) const;
    RECT pixelRect(const ControlSpec& layout) const;
    HFONT fontFor(const FontSpec& font);
    void releaseFonts();
    // Everything the form holds besides its window: controls, toolbar, fonts, icons, shortcuts.
    void releaseResources();
    // The program icon in the size the system shows at the DPI (the large or the small one),
    // or null for a program without it.
    static HICON LoadProgramIcon(bool big, UINT dpi);
    // The program icon in the sizes the system shows at the window's DPI, where they differ
    // from its class's.
    void applyIcons();
    void releaseIcons();
    // The controls' names for screen readers, given once the window is seen and taken back when
    // it goes.
    void applyAccessibleNames();
    void clearAccessibleNames();
    RECT outerRect() const;
    ControlWindow* controlOf(HWND window) const;
    template <class Kind>
    Kind& find(const std::string& name);

    FormSpec table_;
    bool isMain_;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    bool ready_ = false;  // the controls exist: size changes are reported
    bool shown_ = false;
    int defaultId_ = 0;
    int focusedButtonId_ = 0;  // the push button with the focus, 0 for none
    int cancelId_ = 0;
    HWND lastFocus_ = nullptr;   // restored when the window is activated again
    HWND modalOwner_ = nullptr;  // the window disabled while this one is shown modal
    HACCEL accelerators_ = nullptr;
    std::unique_ptr<Win32Toolbar> toolbar_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    bool popupAnchored_ = false;
    AccessibleNamer& namer_;
    std::vector<HWND> named_;
    POINT popupAnchor_{};
    std::vector<Entry> controls_;                 // in tab order, which is also the creation order
    std::vector<ControlWindow*> acceptingFiles_;  // drop targets to register once shown
    std::map<std::string, ControlWindow*> byName_;
    std::map<std::pair<std::string, int>, HFONT> fonts_;  // face and size, for the current DPI
};

class Win32FormFactory final : public FormFactory {
public:
    // The first form created is the program's main window.
    std::unique_ptr<Form> create(const FormSpec& table) override;

private:
    bool mainCreated_ = false;
};
