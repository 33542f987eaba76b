#pragma once
#include "platform/win32/ControlWindow.h"
#include "platform/win32/ListImages.h"

// A standard string list box that shows entries where the program puts them (screen readers and
// other tools read them with LB_GETTEXT). Large additions go straight to the control. A list
// declared with StyleItemImages draws its entries itself: an image (kept as the entry's item
// data) before each text, and lines tall enough for the images.
class Win32ListBox final : public Win32Control<ListBox> {
public:
    using Win32Control::Win32Control;
    int count() const override;
    std::string item(int index) const override;
    void addItem(const std::string& text) override;
    void addItems(std::span<const std::string> texts) override;
    void setItems(std::span<const std::string> texts) override;
    void insertItem(int index, const std::string& text) override;
    void removeItem(int index) override;
    void clear() override;
    int listIndex() const override;
    void setListIndex(int index) override;
    int topIndex() const override;
    void setTopIndex(int index) override;
    void setItemImage(int index, ItemImage image) override;
    void moveSelection(int keyCode) override;

    void notify(WORD code) override;
    void acceptFiles() override;
    bool drawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool showsImages() const;
    // Adds the texts after the last entry, the old ones emptied first when replacing.
    void insertAll(std::span<const std::string> texts, bool replacing);
    // Loads the images for the form's DPI and sets the line height for them and the font.
    void fitLines(HFONT font);

    ListImages images_;
};
