#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/ControlTable.h"

// Typed control objects handed to the window classes. The Win32 layer backs them with real
// controls, the fakes with in-memory state. Event slots are wired by the window class; a text
// change fires onChange synchronously, also when the program itself sets the text.

enum class ShiftState { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

class Control {
public:
    virtual ~Control() = default;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    // Position in twips, relative to the client area (or its frame, as declared).
    virtual TwipsRect rect() const = 0;
    virtual void move(const TwipsRect& rect) = 0;

    std::function<void()> onGotFocus;
    // Virtual-key code and the shift state as a bit set of ShiftState values.
    std::function<void(int keyCode, int shift)> onKeyDown;
};

// System colours the program paints text with.
enum class SystemColour { WindowText, ActiveCaption };

class TextBox : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Caret and selection in characters (UTF-16 code units, as the control counts them).
    virtual int selStart() const = 0;
    virtual void setSelStart(int position) = 0;
    virtual int selLength() const = 0;
    virtual void setSelLength(int length) = 0;
    // Puts the caret after the last character, nothing selected. The program never counts
    // positions itself: its texts are UTF-8, the control counts UTF-16 units.
    virtual void moveCaretToEnd() = 0;
    // The selected text; setting it replaces the selection (or inserts at the caret).
    virtual std::string selText() const = 0;
    virtual void setSelText(const std::string& text) = 0;
    virtual void setForeColour(SystemColour colour) = 0;

    std::function<void()> onChange;
    // A mouse button went down over the control, as a MouseButton value.
    std::function<void(int button)> onMouseDown;
    // Files or folders dropped from the shell, in order. Only file lists are accepted.
    std::function<void(const std::vector<std::string>& paths)> onDropFiles;
};

// The image a list declared with StyleItemImages shows before an entry.
enum class ItemImage { None, OpenFolder, ClosedFolder };

class ListBox : public Control {
public:
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
    // Adds the entry after the last one.
    virtual void addItem(const std::string& text) = 0;
    // Adds many entries after the last one, in their order; fast for large lists.
    virtual void addItems(std::span<const std::string> texts) = 0;
    // Puts the entry at index; the entries from there on move down one place, and a selected
    // entry stays selected.
    virtual void insertItem(int index, const std::string& text) = 0;
    virtual void removeItem(int index) = 0;
    virtual void clear() = 0;
    // -1 when no entry is selected.
    virtual int listIndex() const = 0;
    virtual void setListIndex(int index) = 0;
    // The entry shown at the top of the list.
    virtual int topIndex() const = 0;
    virtual void setTopIndex(int index) = 0;
    // The image before the entry at index, for a list declared with StyleItemImages; a new
    // entry has none, and an image moves with its entry. Leading spaces indent an entry, image
    // and text, two spaces a level of a tree.
    virtual void setItemImage(int index, ItemImage image) = 0;

    std::function<void()> onDblClick;
    // The selection changed by the user.
    std::function<void()> onClick;
    // Files or folders dropped from the shell, in order. Only file lists are accepted.
    std::function<void(const std::vector<std::string>& paths)> onDropFiles;
};

class Button : public Control {
public:
    virtual bool isDefault() const = 0;
    virtual void setDefault(bool on) = 0;
    // Presses the button as the user would: fires onClick unless it is disabled.
    virtual void click() = 0;

    std::function<void()> onClick;
};

class CheckBox : public Control {
public:
    // 0 unticked, 1 ticked.
    virtual int value() const = 0;
    virtual void setValue(int value) = 0;

    std::function<void()> onClick;
};

// A frame only groups and positions other controls.
class Frame : public Control {};

class Label : public Control {
public:
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

// A timer of the window: it fires onTimer every interval milliseconds; 0 stops it. Setting the
// interval again restarts the count.
class Timer : public Control {
public:
    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;

    std::function<void()> onTimer;
};

// A drop-down list to choose one entry from; declared with StyleEditable, a text box that also
// offers its entries.
class ComboBox : public Control {
public:
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
    virtual void addItem(const std::string& text) = 0;
    virtual void clear() = 0;
    virtual int listIndex() const = 0;
    // Selects an entry without firing onChange; an editable box then shows its text.
    virtual void setListIndex(int index) = 0;
    // The text shown: what was typed into an editable box, else the selected entry's.
    virtual std::string text() const = 0;
    // Puts the text into an editable box; a drop-down list selects the entry with exactly
    // that text, or none. Fires no onChange.
    virtual void setText(const std::string& text) = 0;

    // The user chose another entry.
    std::function<void()> onChange;
};
