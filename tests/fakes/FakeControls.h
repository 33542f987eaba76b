#pragma once
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Controls.h"

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

class FakeTextBox : public FakeControl<TextBox> {
public:
    using FakeControl::FakeControl;
    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        // An edit control reports a change for every text set, even an equal one.
        text_ = text;
        selStart_ = 0;
        selLength_ = 0;
        if (onChange) onChange();
    }
    // Positions count bytes here: the tests use ASCII where carets matter.
    int selStart() const override { return selStart_; }
    void setSelStart(int position) override {
        selStart_ = std::clamp(position, 0, static_cast<int>(text_.size()));
        selLength_ = 0;
    }
    int selLength() const override { return selLength_; }
    void setSelLength(int length) override {
        selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
    }
    std::string selText() const override { return text_.substr(selStart_, selLength_); }
    void setSelText(const std::string& text) override {
        text_.replace(selStart_, selLength_, text);
        selStart_ += static_cast<int>(text.size());
        selLength_ = 0;
        if (onChange) onChange();
    }
    // The user types: the selection is replaced by text, as one change.
    void type(const std::string& text) { setSelText(text); }
    void setForeColour(SystemColour colour) override { foreColour = colour; }

    SystemColour foreColour = SystemColour::WindowText;

private:
    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
};

// A plain list box: it shows entries where it is told to, as the real one does.
class FakeListBox : public FakeControl<ListBox> {
public:
    using FakeControl::FakeControl;
    int count() const override { return static_cast<int>(items_.size()); }
    std::string item(int index) const override { return items_.at(static_cast<std::size_t>(index)); }
    void addItem(const std::string& text) override { items_.push_back(text); }
    void addItems(std::span<const std::string> texts) override {
        items_.insert(items_.end(), texts.begin(), texts.end());
    }
    void insertItem(int index, const std::string& text) override {
        if (index < 0 || index > count()) throw std::out_of_range("no place " + std::to_string(index));
        items_.insert(items_.begin() + index, text);
        if (selected_ >= index) ++selected_;
    }
    void removeItem(int index) override {
        if (index < 0 || index >= count()) throw std::out_of_range("no entry " + std::to_string(index));
        items_.erase(items_.begin() + index);
        if (selected_ == index) selected_ = -1;
        else if (selected_ > index) --selected_;
    }
    void clear() override {
        items_.clear();
        selected_ = -1;
        top_ = 0;
    }
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
    using FakeControl::FakeControl;
    int count() const override { return static_cast<int>(items_.size()); }
    std::string item(int index) const override { return items_.at(static_cast<std::size_t>(index)); }
    void addItem(const std::string& text) override { items_.push_back(text); }
    void clear() override {
        items_.clear();
        selected_ = -1;
    }
    int listIndex() const override { return selected_; }
    void setListIndex(int index) override { selected_ = index; }
    // The user picks an entry.
    void choose(int index) {
        selected_ = index;
        if (onChange) onChange();
    }

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};
