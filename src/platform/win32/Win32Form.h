#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/win32/Win32Controls.h"

// A top-level window built from its control table. The controls are children of the window
// itself (also those placed in a frame, which only positions them), so every WM_COMMAND
// reaches it.
class Win32Form final : public Form, private DefaultButtonKeeper {
public:
    // isMain: destroying this window ends the message loop.
    Win32Form(const FormSpec& table, bool isMain);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    TextBox& textBox(const std::string& name) override;
    ListBox& listBox(const std::string& name) override;
    Button& button(const std::string& name) override;
    CheckBox& checkBox(const std::string& name) override;
    Frame& frame(const std::string& name) override;
    void show() override;
    void close() override;

    HWND window() const { return window_; }
    // True when the window is a form's top-level window: the message loop gives such windows
    // the dialog manager's keyboard handling.
    static bool IsFormWindow(HWND window);

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    int defaultButtonId() const override { return defaultId_; }
    void setDefaultButtonId(int id) override;
    void buttonFocusChanged(int id, bool focused) override;
    // Gives the push button that Enter presses now the default-button frame.
    void showDefaultButton();

    void createControls();
    const ControlSpec* layoutOf(const std::string& name) const;
    // Positions every control and sets the fonts for the window's current DPI.
    void layOut();
    RECT pixelRect(const ControlSpec& control) const;
    HFONT fontFor(const FontSpec& font);
    void releaseFonts();
    ControlWindow* controlOf(HWND window) const;
    template <class Kind>
    Kind& find(const std::string& name);

    FormSpec table_;
    bool isMain_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    int defaultId_ = 0;
    int focusedButtonId_ = 0;  // the push button with the focus, 0 for none
    int cancelId_ = 0;
    HWND lastFocus_ = nullptr;  // restored when the window is activated again
    struct Entry {
        ControlSpec layout;
        std::unique_ptr<ControlWindow> control;
    };
    std::vector<Entry> controls_;  // in tab order, which is also the creation order
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
