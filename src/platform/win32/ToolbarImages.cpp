#include "platform/win32/ToolbarImages.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr int kSmallSize = 16;
constexpr int kLargeSize = 24;
// The directory tree is drawn on this colour, which becomes its transparent part.
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// The image's index in the system's standard set, if it has one.
std::optional<int> StandardImage(ToolImage image) {
    switch (image) {
    case ToolImage::New:
        return STD_FILENEW;
    case ToolImage::Open:
        return STD_FILEOPEN;
    case ToolImage::Save:
        return STD_FILESAVE;
    case ToolImage::Cut:
        return STD_CUT;
    case ToolImage::Copy:
        return STD_COPY;
    case ToolImage::Paste:
        return STD_PASTE;
    case ToolImage::Undo:
        return STD_UNDO;
    case ToolImage::Redo:
        return STD_REDOW;
    case ToolImage::Delete:
        return STD_DELETE;
    case ToolImage::DirectoryTree:
        break;
    }
    return std::nullopt;
}

constexpr ToolImage kImages[] = {ToolImage::New,   ToolImage::Open, ToolImage::Save,
                                 ToolImage::Cut,   ToolImage::Copy, ToolImage::Paste,
                                 ToolImage::Undo,  ToolImage::Redo, ToolImage::DirectoryTree,
                                 ToolImage::Delete};

// A square image as 32-bit pixels, top row first, blue-green-red-alpha with straight alpha.
struct Pixels {
    int size = 0;
    std::vector<uint32_t> argb;
    uint32_t& at(int x, int y) { return argb[static_cast<size_t>(y * size + x)]; }
};

BITMAPINFO TopDown32(int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bitmap's pixels as 32-bit top-down rows; its width comes back in width.
std::vector<uint32_t> ReadWhole(HDC dc, HBITMAP bitmap, int& width) {
    BITMAP shape{};
    if (!bitmap || !GetObjectW(bitmap, sizeof shape, &shape)) return {};
    width = shape.bmWidth;
    std::vector<uint32_t> pixels(static_cast<size_t>(shape.bmWidth) *
                                 static_cast<size_t>(shape.bmHeight));
    BITMAPINFO info = TopDown32(shape.bmHeight);
    info.bmiHeader.biWidth = shape.bmWidth;
    if (!GetDIBits(dc, bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.data(), &info,
                   DIB_RGB_COLORS))
        return {};
    return pixels;
}

// The images of the standard set, with their transparency: an image's own alpha where it has
// one, else its mask. The list's bitmaps are read once for all images, each image cut out where
// the list says it lies: an icon and two reads per image cost several times as much.
class StandardSet {
public:
    StandardSet(HIMAGELIST images, int size) : images_(images), size_(size) {
        IMAGEINFO first{};
        if (!images_ || !ImageList_GetImageInfo(images_, 0, &first)) return;
        HDC screen = GetDC(nullptr);
        colour_ = ReadWhole(screen, first.hbmImage, colourWidth_);
        mask_ = ReadWhole(screen, first.hbmMask, maskWidth_);
        ReleaseDC(nullptr, screen);
    }

    Pixels image(int index) const {
        Pixels image{size_, std::vector<uint32_t>(static_cast<size_t>(size_ * size_), 0)};
        IMAGEINFO place{};
        if (colour_.empty() || !ImageList_GetImageInfo(images_, index, &place)) return image;
        const int left = place.rcImage.left;
        const int top = place.rcImage.top;
        const auto at = [](const std::vector<uint32_t>& pixels, int width, int x, int y) {
            const size_t i =
                static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            return i < pixels.size() ? pixels[i] : 0u;
        };
        bool hasAlpha = false;
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x) {
                image.at(x, y) = at(colour_, colourWidth_, left + x, top + y);
                hasAlpha = hasAlpha || (image.at(x, y) >> 24) != 0;
            }
        if (!hasAlpha) {
            for (int y = 0; y < size_; ++y)
                for (int x = 0; x < size_; ++x) {
                    const bool transparent =
                        !mask_.empty() &&
                        (at(mask_, maskWidth_, left + x, top + y) & 0xFFFFFF) != 0;
                    image.at(x, y) = transparent ? 0 : (image.at(x, y) | 0xFF000000u);
                }
        }
        return image;
    }

private:
    HIMAGELIST images_;
    int size_;
    std::vector<uint32_t> colour_;
    std::vector<uint32_t> mask_;
    int colourWidth_ = 0;
    int maskWidth_ = 0;
};

// Scaled by a whole number of pixels (each pixel repeated), centred in a square of side size.
Pixels Enlarged(const Pixels& source, int size) {
    const int scale = std::max(1, size / source.size);
    const int offset = (size - source.size * scale) / 2;
    Pixels image{size, std::vector<uint32_t>(static_cast<size_t>(size * size), 0)};
    for (int y = 0; y < source.size * scale && offset + y < size; ++y)
        for (int x = 0; x < source.size * scale && offset + x < size; ++x)
            image.at(offset + x, offset + y) =
                source.argb[static_cast<size_t>((y / scale) * source.size + x / scale)];
    return image;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

Pixels DrawnDirectoryTree(int size) {
    Pixels image{size, {}};
    BITMAPINFO info = TopDown32(size);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!bitmap) {
        DeleteDC(dc);
        image.argb.assign(static_cast<size_t>(size * size), 0);
        return image;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    Fill(dc, {0, 0, size, size}, kTransparent);
    DrawDirectoryTreeImage(dc, size);
    GdiFlush();
    const auto* drawn = static_cast<const uint32_t*>(bits);
    constexpr uint32_t key = 0xFF00FF;  // kTransparent as the DIB stores it
    image.argb.assign(drawn, drawn + size * size);
    for (uint32_t& pixel : image.argb)
        pixel = (pixel & 0xFFFFFF) == key ? 0 : (pixel | 0xFF000000u);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

// The images side by side, as the colour and mask bitmaps that ImageList_Add takes: colour with
// its alpha, the mask set where a pixel is fully transparent (for systems and states, such as a
// disabled button, that draw from the mask). One call for all images: adding each as an icon of
// its own costs an icon and its copy per image.
bool AddStrip(HIMAGELIST list, const std::vector<Pixels>& images, int size) {
    const int width = size * static_cast<int>(images.size());
    BITMAPINFO info = TopDown32(size);
    info.bmiHeader.biWidth = width;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour) return false;
    auto* strip = static_cast<uint32_t*>(bits);
    const int stride = (width + 15) / 16 * 2;  // monochrome rows are whole 16-bit words
    std::vector<BYTE> maskBits(static_cast<size_t>(stride * size), 0);
    for (size_t i = 0; i < images.size(); ++i) {
        const int left = size * static_cast<int>(i);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const uint32_t pixel = images[i].argb[static_cast<size_t>(y * size + x)];
                strip[static_cast<size_t>(y * width + left + x)] = pixel;
                if ((pixel >> 24) == 0)
                    maskBits[static_cast<size_t>(y * stride + (left + x) / 8)] |=
                        static_cast<BYTE>(0x80 >> ((left + x) % 8));
            }
        }
    }
    HBITMAP mask = CreateBitmap(width, size, 1, 1, maskBits.data());
    const bool added = mask && ImageList_Add(list, colour, mask) >= 0;
    if (mask) DeleteObject(mask);
    DeleteObject(colour);
    return added;
}

// The standard images of one set, through a hidden toolbar that loads them.
class StandardImages {
public:
    StandardImages(HWND parent, bool large) {
        toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 0, parent,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!toolbar_) return;
        SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(toolbar_, TB_LOADIMAGES, large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR,
                     reinterpret_cast<LPARAM>(HINST_COMMCTRL));
        list_ = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar_, TB_GETIMAGELIST, 0, 0));
    }
    ~StandardImages() {
        if (toolbar_) DestroyWindow(toolbar_);
    }
    StandardImages(const StandardImages&) = delete;
    StandardImages& operator=(const StandardImages&) = delete;
    HIMAGELIST list() const { return list_; }

private:
    HWND toolbar_ = nullptr;
    HIMAGELIST list_ = nullptr;
};

}  // namespace

int ToolbarImageSize(UINT dpi) {
    return std::max(MulDiv(kSmallSize, static_cast<int>(dpi), 96), kSmallSize);
}

void DrawDirectoryTreeImage(HDC dc, int size) {
    // Laid out on a grid of 16 × 16 cells; every edge falls on a whole pixel of the size.
    const auto at = [size](int cell) { return MulDiv(cell, size, 16); };
    const int line = std::max(1, size / 16);
    const COLORREF outline = RGB(128, 96, 0);
    const COLORREF body = RGB(255, 214, 90);
    const COLORREF tab = RGB(236, 180, 40);
    const COLORREF tree = RGB(64, 64, 64);

    const auto folder = [&](int left, int top, int right, int bottom) {
        // The tab on the top left, then the body, each with a one-line outline.
        const RECT tabRect{at(left), at(top), at(left + 3), at(top + 1) + line};
        const RECT bodyRect{at(left), at(top + 1), at(right), at(bottom)};
        Fill(dc, tabRect, outline);
        Fill(dc, {tabRect.left + line, tabRect.top + line, tabRect.right - line, tabRect.bottom},
             tab);
        Fill(dc, bodyRect, outline);
        Fill(dc,
             {bodyRect.left + line, bodyRect.top + line, bodyRect.right - line,
              bodyRect.bottom - line},
             body);
    };
    // The tree line from below the top folder down to the lower sub-folder, with a branch to
    // each sub-folder.
    const int trunk = at(3);
    Fill(dc, {trunk, at(6), trunk + line, at(14) + line}, tree);
    Fill(dc, {trunk, at(9), at(7), at(9) + line}, tree);
    Fill(dc, {trunk, at(14), at(7), at(14) + line}, tree);

    folder(1, 1, 10, 6);
    folder(7, 7, 15, 11);
    folder(7, 12, 15, 16);
}

HIMAGELIST CreateToolbarImages(HWND parent, UINT dpi) {
    const int size = ToolbarImageSize(dpi);
    // Whole-pixel scaling keeps the edges sharp; the set that fills more of the square that
    // way is taken (the large one when both fill it alike), and what is left is a margin.
    const int smallFill = kSmallSize * (size / kSmallSize);
    const int largeFill = kLargeSize * (size / kLargeSize);
    const bool large = largeFill >= smallFill;
    const int source = large ? kLargeSize : kSmallSize;

    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK,
                                         static_cast<int>(std::size(kImages)), 0);
    if (!images) return nullptr;
    StandardImages standard(parent, large);
    const StandardSet set(standard.list(), source);
    std::vector<Pixels> pixels;
    for (ToolImage image : kImages) {
        const std::optional<int> index = StandardImage(image);
        pixels.push_back(
            !index ? DrawnDirectoryTree(size)
            : standard.list()
                ? Enlarged(set.image(*index), size)
                : Pixels{size, std::vector<uint32_t>(static_cast<size_t>(size * size), 0)});
    }
    if (!AddStrip(images, pixels, size)) {
        ImageList_Destroy(images);
        return nullptr;
    }
    return images;
}
