#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/ControlTable.h"
#include "platform/Controls.h"

// One top-level window built from a FormSpec, with its controls looked up by name.
class Form {
public:
    virtual ~Form() = default;

    // Throws std::out_of_range for a name the table does not hold or of another kind.
    virtual TextBox& textBox(const std::string& name) = 0;
    virtual ListBox& listBox(const std::string& name) = 0;
    virtual Button& button(const std::string& name) = 0;
    virtual CheckBox& checkBox(const std::string& name) = 0;
    virtual Frame& frame(const std::string& name) = 0;
    virtual Label& label(const std::string& name) = 0;
    virtual Timer& timer(const std::string& name) = 0;
    virtual ComboBox& comboBox(const std::string& name) = 0;

    // The name of the control that has the keyboard focus; empty when none of them has it.
    virtual std::string activeControlName() const = 0;
    // Shows a menu of the menu bar (by its name, e.g. "mnuEdit") as a pop-up menu at the
    // mouse position; the chosen item arrives through onMenu.
    virtual void popupMenu(const std::string& menuName) = 0;
    // Brings the window to the front and gives it the focus.
    virtual void activate() = 0;

    virtual void setCaption(const std::string& caption) = 0;
    virtual void show() = 0;
    // Shows the window modal, owned by owner, and returns when it has closed.
    virtual void showModal(Form& owner) = 0;
    // Shows the window modeless, owned by owner: in front of it, minimised and closed with it.
    // Its top left corner goes to the point (twips in the owner's client area), moved as far as
    // it takes to keep the window on the owner's monitor.
    virtual void showOwned(Form& owner, int leftTwips, int topTwips) = 0;
    // Asks the window to close: onQueryUnload runs and may keep it open.
    virtual void close() = 0;
    // The window's outer size in twips.
    virtual int widthTwips() const = 0;
    virtual int heightTwips() const = 0;
    virtual void setSizeTwips(int width, int height) = 0;
    // The size of the client area in twips: the outer size less the frame, caption and menu
    // bar, which differ with the system's window metrics.
    virtual TwipsSize clientSizeTwips() const = 0;
    // The work area of the window's monitor, and the smallest outer size the system allows.
    virtual TwipsSize workAreaTwips() const = 0;
    virtual TwipsSize minimumSizeTwips() const = 0;
    // The window handle's owner for dialogs of this window (file dialogs, message boxes).
    virtual void* nativeHandle() const = 0;

    // Fired when the window becomes the active window.
    std::function<void()> onActivate;
    // Fired once, from the message loop, after the window was first shown and painted: for
    // work that can wait until the user sees the window.
    std::function<void()> onShown;
    // Fired for every way of closing; return true to cancel the close.
    std::function<bool()> onQueryUnload;
    // Fired after every change of the window's size, also the first and a restore; not for a
    // minimise, which fires onMinimise.
    std::function<void()> onResize;
    std::function<void()> onMinimise;
    // The user's session is ending (log-off, shutdown, restart): return false to ask the system
    // to keep it. Then onEndSession says whether it ends after all; when it does, the program
    // may be ended at any moment after the call returns.
    std::function<bool()> onQueryEndSession;
    std::function<void(bool ending)> onEndSession;
    // A command was chosen, with its id: a menu item (by click or shortcut) or the toolbar button
    // that stands for it.
    std::function<void(int id)> onMenu;
};

class FormFactory {
public:
    virtual ~FormFactory() = default;
    virtual std::unique_ptr<Form> create(const FormSpec& design) = 0;
};
