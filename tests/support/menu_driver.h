#pragma once
// Pop-up menus of this thread while they are open, read and worked as a user does: inside a
// ModalScript (dialog_driver.h) that runs in the menu's own modal loop, wait for the popup, read
// its items, and choose one with the keyboard.
//
//   ModalScript script;
//   script.run([&] { clickDropDown(toolbar, 40001); }, [&](ModalScript& s) {
//       HMENU menu = waitForPopup(s);
//       items = menuItems(menu);
//       chooseItem(s, menu, 40003);   // arrow keys to the item, then Enter
//   });

#include <windows.h>

#include <string>
#include <vector>

#include "support/dialog_driver.h"

namespace quorin::test {

struct MenuItem {
    UINT id = 0;
    std::wstring text;  // as stored, ampersands and tabs included
    UINT type = 0;      // MFT_ flags
    UINT state = 0;     // MFS_ flags
    HMENU submenu = nullptr;

    bool separator() const noexcept { return (type & MFT_SEPARATOR) != 0; }
    bool grayed() const noexcept { return (state & MFS_GRAYED) != 0; }
    bool checked() const noexcept { return (state & MFS_CHECKED) != 0; }
    bool radio() const noexcept { return (type & MFT_RADIOCHECK) != 0; }
};

std::vector<MenuItem> menuItems(HMENU menu);
// Position of the item with that command id, or -1.
int positionOf(HMENU menu, UINT id);

// The menus of the popup windows ("#32768") of this thread that are on screen, outermost first.
std::vector<HMENU> openMenus();
// Pauses the script until a popup is open whose menu is not one of those given; null on timeout.
HMENU waitForPopup(ModalScript& script, const std::vector<HMENU>& known = {});
// The popup window showing menu, or null.
HWND popupWindowOf(HMENU menu);

// Posts a key to the open menu, as the keyboard delivers it, and lets the menu loop take it.
void pressMenuKey(ModalScript& script, UINT virtualKey);
// Highlights the item at position of the innermost open menu with the arrow keys, as a user
// would, and presses Enter (which opens a submenu or chooses the item).
void chooseAt(ModalScript& script, HMENU menu, int position);
void chooseItem(ModalScript& script, HMENU menu, UINT id);
// Highlights the item as chooseAt does and opens its submenu with the right arrow key; returns the
// submenu once it is open, or null.
HMENU openSubmenu(ModalScript& script, HMENU menu, int position);
// Closes every open menu, as Escape would.
void closeMenus(ModalScript& script);

// Presses a toolbar button's drop-down arrow as a click on it does: the toolbar sends its
// parent TBN_DROPDOWN, which opens the button's menu.
void clickDropDown(HWND toolbar, int commandId);

}  // namespace quorin::test
