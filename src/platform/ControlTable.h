#pragma once
#include <string>
#include <vector>

// A window's controls, declared as data. The Win32 layer and the fakes both build the
// controls from these tables; positions stay in twips (1/1440 inch) until the Win32 layer
// converts them for the window's DPI.

// OptionButton is a round choice button; it is handed out as a CheckBox (value 1 = chosen),
// and choosing one clears the others of its container. ComboBox is a drop-down list.
enum class ControlKind { TextBox, ListBox, Button, CheckBox, OptionButton, Frame, Label, Timer, ComboBox };

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct FontSpec {
    std::string face;        // UTF-8 face name
    int hundredthsOfPoint = 0;  // 9.75 pt is 975
};

// Style flags, combined with |.
enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleMultiLine = 1u << 0,
    StyleVScroll = 1u << 1,
    StyleDefaultButton = 1u << 2,
    StyleCancelButton = 1u << 3,
    StyleReadOnly = 1u << 4,
    StyleNoCaption = 1u << 5,
    StyleAcceptsFiles = 1u << 6,  // a drop target for files from the shell
    // Enter reaches the control (its onKeyDown) instead of pressing the default button.
    StyleTakesEnter = 1u << 7,
    StyleItemImages = 1u << 8,  // a list that shows a small image before each entry
    // A combo box whose text can also be typed, its entries offered as suggestions.
    StyleEditable = 1u << 12,
    // A frame whose controls scroll up and down inside it when they do not fit. Its controls
    // come after it in the tab order.
    StyleScrolls = 1u << 13,
};

struct TwipsSize {
    int width = 0;
    int height = 0;
    bool operator==(const TwipsSize&) const = default;
};

struct ControlSpec {
    std::string name;       // control name, e.g. "txtCommand"
    ControlKind kind;
    std::string caption;    // UTF-8; for text boxes the initial text
    TwipsRect rect;         // relative to the container (the client area or a frame)
    std::string container;  // empty for the client area, else the name of a frame
    int tabIndex = 0;
    FontSpec font;          // empty face: the form's font
    int id = 0;             // control id (ControlIds.h)
    unsigned style = StyleNone;
    // UTF-8; what a screen reader calls the control, for one that nothing shown names (a list,
    // an edit box without a label before it). Empty: the reader's own naming.
    std::string accessibleName = {};
};

// A menu bar entry or one of its items. A caption of "-" is a separator line.
struct MenuSpec {
    std::string name;          // e.g. "mnuFile", "mnuNew"
    std::string caption;       // UTF-8 with an & mnemonic
    int id = 0;                // command id of an item (ControlIds.h); 0 for a menu
    char ctrlShortcut = 0;     // 'N' for Ctrl+N; 0 for none
    std::vector<MenuSpec> items;
    bool isSeparator() const { return caption == "-"; }
};

// Images of the toolbar: the system's standard small images where one fits, else our own.
enum class ToolImage { New, Open, Save, Cut, Copy, Paste, Undo, Redo, DirectoryTree, Delete };

// One toolbar button: the command id of the menu item it stands for (ControlIds.h), which a
// click sends as the menu item would; 0 for a separator.
struct ToolButtonSpec {
    int command = 0;
    ToolImage image = ToolImage::New;
    std::string tooltip;       // empty: no tooltip
    bool isSeparator() const { return command == 0; }
};

struct ToolbarSpec {
    std::string name;          // e.g. "tlbDos"
    int id = 0;
    int tabIndex = 0;
    std::vector<ToolButtonSpec> buttons;
};

struct FormSpec {
    std::string name;       // window class name, e.g. "frmDosLaunch"
    std::string caption;
    int outerWidthTwips = 0;
    int outerHeightTwips = 0;
    // When set, the size of the client area instead of the outer size.
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
    FontSpec font;          // the form's font
    bool sizable = true;    // else a fixed dialog border without minimise and maximise buttons
    // Esc closes the window, as it closes a dialog box, where no button is the cancel button.
    bool closesOnEscape = false;
    std::vector<ControlSpec> controls;
    std::vector<MenuSpec> menus;   // the menu bar, empty for none
    ToolbarSpec toolbar;           // no buttons: no toolbar
};

// The controls sorted by tab index: the order in which they are created.
std::vector<ControlSpec> InTabOrder(const std::vector<ControlSpec>& controls);
