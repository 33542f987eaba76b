#include "platform/win32/ListImages.h"

#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace {

// The shell's resource ids of its folder images, the same from Windows 95 to 11 and in Wine.
constexpr int kFolderResource = 4;
constexpr int kOpenFolderResource = 5;

// A file holding icons and the index of one of them (negative: its resource id).
struct IconLocation {
    std::wstring file;
    int index = 0;
    bool operator==(const IconLocation&) const = default;
};

std::optional<IconLocation> StockIcon(SHSTOCKICONID id) {
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(SHGetStockIconInfo(id, SHGSI_ICONLOCATION, &info))) return std::nullopt;
    return IconLocation{info.szPath, info.iIcon};
}

IconLocation ShellResource(int id) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return {std::wstring(folder, length < MAX_PATH ? length : 0) + L"\\shell32.dll", -id};
}

HICON Extract(const IconLocation& location, int size) {
    HICON icon = nullptr;
    const UINT sizes = MAKELONG(size, size);
    if (SHDefExtractIconW(location.file.c_str(), location.index, 0, &icon, nullptr, sizes) != S_OK)
        return nullptr;
    return icon;
}

}  // namespace

void ListImages::load(int size) {
    if (size == size_) return;
    release();
    size_ = size;
    std::optional<IconLocation> closed = StockIcon(SIID_FOLDER);
    std::optional<IconLocation> open = StockIcon(SIID_FOLDEROPEN);
    // Wine's stock icons are one plain page for every kind: the shell's folder images then.
    if (!closed || !open || *closed == *open) {
        closed = ShellResource(kFolderResource);
        open = ShellResource(kOpenFolderResource);
    }
    closedFolder_ = Extract(*closed, size);
    openFolder_ = Extract(*open, size);
}

HICON ListImages::icon(ItemImage image) const {
    switch (image) {
    case ItemImage::OpenFolder:
        return openFolder_;
    case ItemImage::ClosedFolder:
        return closedFolder_;
    case ItemImage::None:
        break;
    }
    return nullptr;
}

void ListImages::release() {
    if (openFolder_) DestroyIcon(openFolder_);
    if (closedFolder_) DestroyIcon(closedFolder_);
    openFolder_ = closedFolder_ = nullptr;
    size_ = 0;
}
