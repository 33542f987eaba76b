#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ControlTable.h"

// A form's menu bar and its keyboard shortcuts, built from the form's menu table.

// The text of a menu item: its caption, then after a tab the shortcut it answers to
// ("新規作成(&N)\tCtrl+N").
std::wstring MenuItemText(const MenuSpec& item);

// The menu bar with its menus, separators and items. The window it is given to destroys it.
HMENU CreateMenuBar(const std::vector<MenuSpec>& menus);

// One Ctrl+letter accelerator per item with a shortcut; null when no item has one. The caller
// destroys the table.
HACCEL CreateMenuAccelerators(const std::vector<MenuSpec>& menus);

// True when an item of the menus (at any depth) has the command id.
bool IsMenuCommand(const std::vector<MenuSpec>& menus, int id);

// The menu (not an item) named name, found at any depth, as a sub-menu of bar; null when
// there is none.
HMENU FindSubMenu(HMENU bar, const std::vector<MenuSpec>& menus, const std::string& name);
