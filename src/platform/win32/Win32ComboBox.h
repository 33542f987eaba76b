#pragma once
#include "platform/win32/ControlWindow.h"

// A drop-down list to choose one entry from, or with StyleEditable a text box that offers its
// entries.
class Win32ComboBox final : public Win32Control<ComboBox> {
public:
    using Win32Control::Win32Control;
    int count() const override;
    std::string item(int index) const override;
    void addItem(const std::string& text) override;
    void clear() override;
    int listIndex() const override;
    void setListIndex(int index) override;
    std::string text() const override;
    void setText(const std::string& text) override;

    void notify(WORD code) override;
};
