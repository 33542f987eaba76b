#pragma once
#include <windows.h>

#include "platform/Controls.h"

// The small images a list shows before its entries: the shell's own folder images, extracted at
// the size asked for, so that they stay crisp at every DPI.
class ListImages {
public:
    ListImages() = default;
    ~ListImages() { release(); }
    ListImages(const ListImages&) = delete;
    ListImages& operator=(const ListImages&) = delete;

    // Loads the images at size by size pixels, unless they are loaded at that size already.
    void load(int size);
    int size() const { return size_; }
    // Null for ItemImage::None, and for an image the system could not give.
    HICON icon(ItemImage image) const;

private:
    void release();

    int size_ = 0;
    HICON openFolder_ = nullptr;
    HICON closedFolder_ = nullptr;
};
