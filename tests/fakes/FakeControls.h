#pragma once
#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Controls.h"
#include "text/Text.h"

// In-memory controls. Focus is shared per form, so that setFocus on one control moves it
// away from the others and fires onGotFocus as a real window would.
class FakeFocus {
public:
    Control* focused = nullptr;
};

template <class Base>
class FakeControl : public Base {
public:
    FakeControl(std::string name, FakeFocus& focus) : name_(std::move(name)), focus_(focus) {}
    const std::string& name() const { return name_; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { enabled_ = on; }
    void setFocus() override {
        if (focus_.focused == this) return;
        focus_.focused = this;
        if (this->onGotFocus) this->onGotFocus();
    }
    bool hasFocus() const override { return focus_.focused == this; }
    TwipsRect rect() const override { return rect_; }
    void move(const TwipsRect& rect) override { rect_ = rect; }

private:
    std::string name_;
    FakeFocus& focus_;
    bool enabled_ = true;
    TwipsRect rect_;
};

// Files dropped from the shell reach a control only when its table declared it a drop target
// (StyleAcceptsFiles): the Win32 form registers no other control, so the shell refuses the drop
// there. The shell never drops an empty list.
template <class Base>
class FakeDropTarget : public FakeControl<Base> {
public:
    using FakeControl<Base>::FakeControl;
    // The user drops files on the control; false when the control refuses them.
    bool drop(const std::vector<std::string>& paths) {
        if (!acceptsFiles || paths.empty()) return false;
        if (this->onDropFiles) this->onDropFiles(paths);
        return true;
    }
    bool acceptsFiles = false;
};

// An edit control's text in the units it counts positions in: UTF-16 code units.
class FakeTextBox : public FakeDropTarget<TextBox> {
public:
    using FakeDropTarget::FakeDropTarget;
    std::string text() const override { return ToUtf8(text_); }
    void setText(const std::string& text) override {
        // An edit control reports a change for every text set, even an equal one.
        text_ = ToUtf16(text);
        selStart_ = 0;
        selLength_ = 0;
        if (onChange) onChange();
    }
    int selStart() const override { return selStart_; }
    // The real control clamps a position past the end, which would hide a count in other units
    // (UTF-8 bytes, characters); the program never passes one, so here it is an error, as is a
    // position between the two halves of a surrogate pair.
    void setSelStart(int position) override {
        if (position < 0 || position > length()) {
            throw std::out_of_range("caret " + std::to_string(position) + " past the end (" +
                                    std::to_string(length()) + " UTF-16 units)");
        }
        if (position < length() && IsLowSurrogate(text_[static_cast<std::size_t>(position)])) {
            throw std::out_of_range("caret " + std::to_string(position) +
                                    " inside a surrogate pair");
        }
        selStart_ = position;
        selLength_ = 0;
    }
    int selLength() const override { return selLength_; }
    void setSelLength(int length) override {
        selLength_ = std::clamp(length, 0, this->length() - selStart_);
    }
    void moveCaretToEnd() override {
        selStart_ = length();
        selLength_ = 0;
    }
    std::string selText() const override { return ToUtf8(text_.substr(Start(), Count())); }
    void setSelText(const std::string& text) override {
        const std::u16string inserted = ToUtf16(text);
        text_.replace(Start(), Count(), inserted);
        selStart_ += static_cast<int>(inserted.size());
        selLength_ = 0;
        if (onChange) onChange();
    }
    // The user types: the selection is replaced by text, as one change.
    void type(const std::string& text) { setSelText(text); }
    void setForeColour(SystemColour colour) override { foreColour = colour; }

    SystemColour foreColour = SystemColour::WindowText;

private:
    static bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
    // As the Win32 layer converts: malformed UTF-8 and unpaired surrogates become U+FFFD.
    static std::u16string ToUtf16(const std::string& utf8) {
        std::u16string out;
        for (char32_t c : text::DecodeUtf8(utf8)) {
            if (c < 0x10000) {
                out.push_back(static_cast<char16_t>(c));
            } else {
                out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            }
        }
        return out;
    }
    static std::string ToUtf8(std::u16string_view utf16) {
        std::u32string points;
        for (std::size_t i = 0; i < utf16.size(); ++i) {
            const char16_t unit = utf16[i];
            const bool high = unit >= 0xD800 && unit <= 0xDBFF;
            if (high && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
                points.push_back(static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) +
                                                       (utf16[++i] - 0xDC00)));
            } else {
                points.push_back(high || IsLowSurrogate(unit) ? U'\uFFFD' : char32_t{unit});
            }
        }
        return text::EncodeUtf8(points);
    }
    int length() const { return static_cast<int>(text_.size()); }
    std::size_t Start() const { return static_cast<std::size_t>(selStart_); }
    std::size_t Count() const { return static_cast<std::size_t>(selLength_); }

    std::u16string text_;
    int selStart_ = 0;
    int selLength_ = 0;
};

// A plain list box: it shows entries where it is told to, as the real one does. Each entry
// keeps its image, which only a list declared with StyleItemImages shows.
class FakeListBox : public FakeDropTarget<ListBox> {
public:
    using FakeDropTarget::FakeDropTarget;
    int count() const override { return static_cast<int>(items_.size()); }
    std::string item(int index) const override { return items_.at(static_cast<std::size_t>(index)); }
    void addItem(const std::string& text) override {
        items_.push_back(text);
        images_.push_back(ItemImage::None);
    }
    void addItems(std::span<const std::string> texts) override {
        items_.insert(items_.end(), texts.begin(), texts.end());
        images_.resize(items_.size(), ItemImage::None);
    }
    void insertItem(int index, const std::string& text) override {
        if (index < 0 || index > count()) throw std::out_of_range("no place " + std::to_string(index));
        items_.insert(items_.begin() + index, text);
        images_.insert(images_.begin() + index, ItemImage::None);
        if (selected_ >= index) ++selected_;
    }
    void removeItem(int index) override {
        if (index < 0 || index >= count()) throw std::out_of_range("no entry " + std::to_string(index));
        items_.erase(items_.begin() + index);
        images_.erase(images_.begin() + index);
        if (selected_ == index) selected_ = -1;
        else if (selected_ > index) --selected_;
    }
    void clear() override {
        items_.clear();
        images_.clear();
        selected_ = -1;
        top_ = 0;
    }
    void setItemImage(int index, ItemImage image) override {
        if (!showsImages)
            throw std::logic_error("list " + name() + " was not declared to show images");
        if (index < 0 || index >= count())
            throw std::out_of_range("no entry " + std::to_string(index));
        images_[static_cast<std::size_t>(index)] = image;
    }
    const std::vector<ItemImage>& images() const { return images_; }
    bool showsImages = false;
    int listIndex() const override { return selected_; }
    void setListIndex(int index) override { selected_ = index >= 0 && index < count() ? index : -1; }
    int topIndex() const override { return top_; }
    void setTopIndex(int index) override { top_ = std::clamp(index, 0, std::max(count() - 1, 0)); }
    // Like a list box that shows whole lines only: the height is rounded down to whole lines
    // of lineHeight inside a border of borderHeight.
    void move(const TwipsRect& rect) override {
        TwipsRect rounded = rect;
        if (lineHeight > 0 && rect.height > borderHeight) {
            rounded.height = (rect.height - borderHeight) / lineHeight * lineHeight + borderHeight;
        }
        FakeControl::move(rounded);
    }
    int lineHeight = 0;
    int borderHeight = 0;
    const std::vector<std::string>& items() const { return items_; }

private:
    std::vector<std::string> items_;
    std::vector<ItemImage> images_;
    int selected_ = -1;
    int top_ = 0;
};

class FakeButton : public FakeControl<Button> {
public:
    using FakeControl::FakeControl;
    bool isDefault() const override { return default_; }
    void setDefault(bool on) override { default_ = on; }
    void click() override {
        if (enabled() && onClick) onClick();
    }

private:
    bool default_ = false;
};

class FakeCheckBox : public FakeControl<CheckBox> {
public:
    using FakeControl::FakeControl;
    int value() const override { return value_; }
    void setValue(int value) override {
        value_ = value;
        if (value == 1) {
            for (FakeCheckBox* other : group) {
                if (other != this) other->value_ = 0;
            }
        }
    }
    // The user clicks it.
    void click() {
        setValue(group.empty() ? 1 - value_ : 1);
        if (onClick) onClick();
    }
    // Option buttons of one container: choosing one clears the others.
    std::vector<FakeCheckBox*> group;

private:
    int value_ = 0;
};

class FakeFrame : public FakeControl<Frame> {
public:
    using FakeControl::FakeControl;
};

class FakeLabel : public FakeControl<Label> {
public:
    using FakeControl::FakeControl;
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }

private:
    std::string caption_;
};

// A timer on a clock that the test advances.
class FakeTimer : public FakeControl<Timer> {
public:
    using FakeControl::FakeControl;
    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override {
        interval_ = milliseconds;
        elapsed_ = 0;
    }
    // Lets milliseconds pass, firing the timer whenever its interval is reached.
    void advance(int milliseconds) {
        for (int step = 0; step < milliseconds; ++step) {
            if (interval_ <= 0) return;
            if (++elapsed_ >= interval_) {
                elapsed_ = 0;
                if (onTimer) onTimer();
            }
        }
    }

private:
    int interval_ = 0;
    int elapsed_ = 0;
};

class FakeComboBox : public FakeControl<ComboBox> {
public:
    FakeComboBox(std::string name, FakeFocus& focus, bool editable)
        : FakeControl(std::move(name), focus), editable_(editable) {}
    int count() const override { return static_cast<int>(items_.size()); }
    std::string item(int index) const override { return items_.at(static_cast<std::size_t>(index)); }
    void addItem(const std::string& text) override { items_.push_back(text); }
    void clear() override {
        items_.clear();
        selected_ = -1;
    }
    int listIndex() const override { return selected_; }
    void setListIndex(int index) override {
        selected_ = index;
        if (editable_) typed_ = index >= 0 ? item(index) : std::string();
    }
    std::string text() const override {
        if (editable_) return typed_;
        return selected_ >= 0 ? item(selected_) : std::string();
    }
    void setText(const std::string& text) override {
        if (editable_) {
            // A typed text that is not an entry leaves no entry selected, as in the real box.
            typed_ = text;
            const auto found = std::find(items_.begin(), items_.end(), text);
            selected_ = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
            return;
        }
        const auto found = std::find(items_.begin(), items_.end(), text);
        selected_ = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
    }
    // The user picks an entry.
    void choose(int index) {
        setListIndex(index);
        if (onChange) onChange();
    }
    // The user types into an editable box; a list takes no typing.
    void type(const std::string& text) {
        if (!editable_) throw std::logic_error("typing into a drop-down list");
        setText(text);
    }
    bool editable() const { return editable_; }

private:
    std::vector<std::string> items_;
    int selected_ = -1;
    bool editable_;
    std::string typed_;
};
