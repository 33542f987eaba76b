#pragma once
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/Form.h"
#include "tests/fakes/EventLog.h"
#include "tests/fakes/FakeControls.h"

// A window built in memory from its control table.
class FakeForm : public Form {
public:
    FakeForm(const FormSpec& design, EventLog* log)
        : design(design), width(design.outerWidthTwips), height(design.outerHeightTwips), log_(log) {
        for (const ControlSpec& control : design.controls) {
            switch (control.kind) {
                case ControlKind::TextBox: {
                    auto box = std::make_unique<FakeTextBox>(control.name, focus);
                    box->acceptsFiles = (control.style & StyleAcceptsFiles) != 0;
                    add(control, std::move(box));
                    break;
                }
                case ControlKind::ListBox: {
                    auto list = std::make_unique<FakeListBox>(control.name, focus);
                    list->acceptsFiles = (control.style & StyleAcceptsFiles) != 0;
                    list->showsImages = (control.style & StyleItemImages) != 0;
                    add(control, std::move(list));
                    break;
                }
                case ControlKind::Button: {
                    auto button = std::make_unique<FakeButton>(control.name, focus);
                    button->setDefault((control.style & StyleDefaultButton) != 0);
                    add(control, std::move(button));
                    break;
                }
                case ControlKind::CheckBox:
                    add(control, std::make_unique<FakeCheckBox>(control.name, focus));
                    break;
                case ControlKind::OptionButton: {
                    auto option = std::make_unique<FakeCheckBox>(control.name, focus);
                    auto& group = optionGroups_[control.container];
                    group.push_back(option.get());
                    add(control, std::move(option));
                    break;
                }
                case ControlKind::ComboBox:
                    add(control, std::make_unique<FakeComboBox>(control.name, focus,
                                                                (control.style & StyleEditable) != 0));
                    break;
                case ControlKind::Frame:
                    add(control, std::make_unique<FakeFrame>(control.name, focus));
                    break;
                case ControlKind::Label:
                    add(control, std::make_unique<FakeLabel>(control.name, focus));
                    break;
                case ControlKind::Timer:
                    add(control, std::make_unique<FakeTimer>(control.name, focus));
                    break;
            }
            controls_[control.name]->move(control.rect);
        }
        for (auto& [container, group] : optionGroups_) {
            for (FakeCheckBox* option : group) option->group = group;
        }
    }

    TextBox& textBox(const std::string& name) override { return get<FakeTextBox>(name); }
    ListBox& listBox(const std::string& name) override { return get<FakeListBox>(name); }
    Button& button(const std::string& name) override { return get<FakeButton>(name); }
    CheckBox& checkBox(const std::string& name) override { return get<FakeCheckBox>(name); }
    Frame& frame(const std::string& name) override { return get<FakeFrame>(name); }
    Label& label(const std::string& name) override { return get<FakeLabel>(name); }
    Timer& timer(const std::string& name) override { return get<FakeTimer>(name); }
    ComboBox& comboBox(const std::string& name) override { return get<FakeComboBox>(name); }
    std::string activeControlName() const override {
        for (const auto& [name, control] : controls_) {
            if (control.get() == focus.focused) return name;
        }
        return {};
    }
    void popupMenu(const std::string& menuName) override { poppedUp.push_back(menuName); }
    void activate() override {
        ++activations;
        if (log_) log_->add("activate window " + design.caption);
    }
    void setSizeTwips(int newWidth, int newHeight) override { resize(newWidth, newHeight); }
    TwipsSize workAreaTwips() const override { return workArea; }
    TwipsSize minimumSizeTwips() const override { return minimumSize; }
    void* nativeHandle() const override { return nullptr; }
    int widthTwips() const override { return width; }
    int heightTwips() const override { return height; }
    // The outer size less the frame; as on a real window, never negative.
    TwipsSize clientSizeTwips() const override {
        return {std::max(0, width - nonClient.width), std::max(0, height - nonClient.height)};
    }

    void setCaption(const std::string& caption) override { design.caption = caption; }
    // The first show leaves onShown waiting for the message loop, as the real window does:
    // runMessageLoop() fires it.
    void show() override {
        if (!shown) shownPending = true;
        shown = true;
        if (onActivate) onActivate();
    }
    // The message loop's turn after a show: fires what a show left waiting.
    void runMessageLoop() {
        if (!shownPending || closed) return;
        shownPending = false;
        if (onShown) onShown();
    }
    // A modal loop cannot run here: the call records the owner, lets whileModal act as the
    // user would while the window is up, and returns.
    void showModal(Form& owner) override {
        modalOwner = &owner;
        shown = true;
        if (whileModal) whileModal(*this);
    }
    void close() override {
        if (onQueryUnload && onQueryUnload()) return;
        closed = true;
    }
    // The user minimises the window, or restores it.
    void minimise() {
        if (onMinimise) onMinimise();
    }
    void restore() {
        if (onResize) onResize();
    }
    // The system asks whether the session may end, then ends it or not.
    bool queryEndSession() { return !onQueryEndSession || onQueryEndSession(); }
    void endSession(bool ending) {
        if (onEndSession) onEndSession(ending);
    }
    // The user resizes the window.
    void resize(int newWidth, int newHeight) {
        width = newWidth;
        height = newHeight;
        if (onResize) onResize();
    }
    // The user chooses a menu item or a toolbar button.
    void chooseMenu(int id) {
        if (onMenu) onMenu(id);
    }
    // The user presses Enter, handed on as the dialog manager does: a control declared to take
    // Enter (StyleTakesEnter) hears the key itself; elsewhere a focused button is pressed, or
    // else the default button. A multi-line text box hears the key before it hands it on.
    void pressEnter() {
        constexpr int Enter = 13;
        Control* focused = focus.focused;
        const ControlSpec* declared = declaration(activeControlName());
        const auto hear = [&] {
            if (focused->onKeyDown) focused->onKeyDown(Enter, static_cast<int>(ShiftState::None));
        };
        if (declared && (declared->style & StyleTakesEnter)) return hear();
        if (auto* button = dynamic_cast<FakeButton*>(focused)) return button->click();
        const bool multiLine = declared && (declared->style & StyleMultiLine);
        if (multiLine && declared->kind == ControlKind::TextBox) hear();
        for (auto& [name, control] : controls_) {
            auto* button = dynamic_cast<FakeButton*>(control.get());
            if (button && button->isDefault()) return button->click();
        }
    }
    // A toolbar button, counted from 1, sends its command as the real toolbar does.
    void clickToolbar(int index) {
        const auto& buttons = design.toolbar.buttons;
        if (index < 1 || index > static_cast<int>(buttons.size())) return;
        const ToolButtonSpec& button = buttons[static_cast<std::size_t>(index - 1)];
        if (!button.isSeparator()) chooseMenu(button.command);
    }

    template <class T>
    T& get(const std::string& name) {
        auto found = controls_.find(name);
        if (found == controls_.end()) throw std::out_of_range("no control " + name);
        auto* typed = dynamic_cast<T*>(found->second.get());
        if (!typed) throw std::out_of_range("control " + name + " is of another kind");
        return *typed;
    }

    FormSpec design;
    FakeFocus focus;
    int width;
    int height;
    bool shown = false;
    bool shownPending = false;
    bool closed = false;
    Form* modalOwner = nullptr;
    std::function<void(FakeForm&)> whileModal;
    std::vector<std::string> poppedUp;
    int activations = 0;
    TwipsSize workArea{19200, 14400};
    TwipsSize minimumSize{1800, 500};
    // What frame, caption and menu bar take of the outer size: Wine's default metrics (a 4 px
    // frame, 19 px caption and menu bar at 96 DPI). Tests set other metrics here.
    TwipsSize nonClient{120, 690};

private:
    EventLog* log_;

    const ControlSpec* declaration(const std::string& name) const {
        for (const ControlSpec& control : design.controls) {
            if (control.name == name) return &control;
        }
        return nullptr;
    }
    void add(const ControlSpec& control, std::unique_ptr<Control> object) {
        controls_[control.name] = std::move(object);
    }
    std::map<std::string, std::unique_ptr<Control>> controls_;
    std::map<std::string, std::vector<FakeCheckBox*>> optionGroups_;
};

class FakeFormFactory : public FormFactory {
public:
    explicit FakeFormFactory(EventLog* log = nullptr) : log_(log) {}
    std::unique_ptr<Form> create(const FormSpec& design) override {
        auto form = std::make_unique<FakeForm>(design, log_);
        form->whileModal = whileModal;
        created.push_back(form.get());
        return form;
    }
    // Forms created so far, oldest first; they live as long as their owners.
    std::vector<FakeForm*> created;
    // Handed to each form created from now on: what the user does while it is shown modal.
    std::function<void(FakeForm&)> whileModal;

private:
    EventLog* log_;
};
