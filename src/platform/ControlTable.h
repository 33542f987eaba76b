#pragma once
#include <string>
#include <vector>

// A window's controls, declared as data. The Win32 layer and the fakes both build the
// controls from these tables; positions stay in twips (1/1440 inch) until the Win32 layer
// converts them for the window's DPI.

enum class ControlKind { TextBox, ListBox, Button, CheckBox, Frame };

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
    StyleSorted = 1u << 2,
    StyleDefaultButton = 1u << 3,
    StyleCancelButton = 1u << 4,
    StyleReadOnly = 1u << 5,
    StyleNoCaption = 1u << 6,
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
};

struct FormSpec {
    std::string name;       // window class name, e.g. "frmDosLaunch"
    std::string caption;
    int outerWidthTwips = 0;
    int outerHeightTwips = 0;
    FontSpec font;          // the form's font
    bool sizable = true;
    std::vector<ControlSpec> controls;
};

// The controls sorted by tab index: the order in which they are created.
std::vector<ControlSpec> InTabOrder(const std::vector<ControlSpec>& controls);
