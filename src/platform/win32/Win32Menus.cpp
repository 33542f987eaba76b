#include "platform/win32/Win32Menus.h"

#include <cctype>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"

namespace {

void AppendItems(HMENU menu, const std::vector<MenuSpec>& items) {
    for (const MenuSpec& item : items) {
        BOOL added;
        if (item.isSeparator()) {
            added = AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item.items.empty()) {
            HMENU sub = CreatePopupMenu();
            if (!sub) ThrowSystemError();
            AppendItems(sub, item.items);
            added = AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                                MenuItemText(item).c_str());
            if (!added) DestroyMenu(sub);
        } else {
            added = AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id),
                                MenuItemText(item).c_str());
        }
        if (!added) ThrowSystemError();
    }
}

void CollectAccelerators(const std::vector<MenuSpec>& items, std::vector<ACCEL>& table) {
    for (const MenuSpec& item : items) {
        if (item.ctrlShortcut && item.items.empty()) {
            const auto key =
                static_cast<WORD>(std::toupper(static_cast<unsigned char>(item.ctrlShortcut)));
            table.push_back({FVIRTKEY | FCONTROL, key, static_cast<WORD>(item.id)});
        }
        CollectAccelerators(item.items, table);
    }
}

}  // namespace

std::wstring MenuItemText(const MenuSpec& item) {
    std::wstring text = ToWide(item.caption);
    if (item.ctrlShortcut) {
        text += L"\tCtrl+";
        text += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(item.ctrlShortcut)));
    }
    return text;
}

HMENU CreateMenuBar(const std::vector<MenuSpec>& menus) {
    HMENU bar = CreateMenu();
    if (!bar) ThrowSystemError();
    try {
        AppendItems(bar, menus);
    } catch (...) {
        DestroyMenu(bar);
        throw;
    }
    return bar;
}

HACCEL CreateMenuAccelerators(const std::vector<MenuSpec>& menus) {
    std::vector<ACCEL> table;
    CollectAccelerators(menus, table);
    if (table.empty()) return nullptr;
    HACCEL accelerators = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    if (!accelerators) ThrowSystemError();
    return accelerators;
}

bool IsMenuCommand(const std::vector<MenuSpec>& menus, int id) {
    for (const MenuSpec& item : menus) {
        if (item.items.empty() && !item.isSeparator() && item.id == id) return true;
        if (IsMenuCommand(item.items, id)) return true;
    }
    return false;
}

HMENU FindSubMenu(HMENU bar, const std::vector<MenuSpec>& menus, const std::string& name) {
    if (!bar) return nullptr;
    for (size_t i = 0; i < menus.size(); ++i) {
        const MenuSpec& menu = menus[i];
        if (menu.items.empty()) continue;
        HMENU sub = GetSubMenu(bar, static_cast<int>(i));
        if (menu.name == name) return sub;
        if (HMENU found = FindSubMenu(sub, menu.items, name)) return found;
    }
    return nullptr;
}
