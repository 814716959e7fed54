// Reading and working the pop-up menus of this thread while they are open.
#include "support/menu_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace quorin::test {

namespace {

constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU

BOOL CALLBACK collectPopup(HWND window, LPARAM param) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    if (lstrcmpW(name, L"#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    auto& found = *reinterpret_cast<std::vector<std::pair<HWND, HMENU>>*>(param);
    if (auto menu = reinterpret_cast<HMENU>(SendMessageW(window, kGetMenu, 0, 0))) found.emplace_back(window, menu);
    return TRUE;
}

std::vector<std::pair<HWND, HMENU>> openPopups() {
    std::vector<std::pair<HWND, HMENU>> found;
    EnumThreadWindows(GetCurrentThreadId(), &collectPopup, reinterpret_cast<LPARAM>(&found));
    // Windows are enumerated top of the z-order first; the innermost menu is on top.
    std::reverse(found.begin(), found.end());
    return found;
}

HWND innermostPopup() {
    const auto popups = openPopups();
    return popups.empty() ? nullptr : popups.back().first;
}

int highlighted(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    }
    return -1;
}

// Arrow-key presses from the highlighted item (or none) to the item, one at a time with the
// highlight read back in between, so that a key the menu loop took late is made up for.
void highlight(ModalScript& script, HMENU menu, int position) {
    const int limit = 4 * GetMenuItemCount(menu) + 4;
    for (int presses = 0; presses < limit; ++presses) {
        const int current = highlighted(menu);
        if (current == position) return;
        pressMenuKey(script, position > current ? VK_DOWN : VK_UP);
    }
}

}  // namespace

std::vector<MenuItem> menuItems(HMENU menu) {
    std::vector<MenuItem> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text));
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        MenuItem item;
        item.id = info.wID;
        item.text = text;
        item.type = info.fType;
        item.state = info.fState;
        item.submenu = info.hSubMenu;
        items.push_back(std::move(item));
    }
    return items;
}

int positionOf(HMENU menu, UINT id) {
    const std::vector<MenuItem> items = menuItems(menu);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == id && !items[i].separator()) return static_cast<int>(i);
    }
    return -1;
}

std::vector<HMENU> openMenus() {
    std::vector<HMENU> menus;
    for (const auto& popup : openPopups()) menus.push_back(popup.second);
    return menus;
}

HMENU waitForPopup(ModalScript& script, const std::vector<HMENU>& known) {
    HMENU found = nullptr;
    script.waitUntil([&] {
        for (HMENU menu : openMenus()) {
            if (std::find(known.begin(), known.end(), menu) == known.end()) found = menu;
        }
        return found != nullptr;
    });
    return found;
}

HWND popupWindowOf(HMENU menu) {
    for (const auto& popup : openPopups()) {
        if (popup.second == menu) return popup.first;
    }
    return nullptr;
}

void pressMenuKey(ModalScript& script, UINT virtualKey) {
    HWND target = innermostPopup();
    if (!target) return;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
    script.pause();
    script.pause();
}

void chooseAt(ModalScript& script, HMENU menu, int position) {
    if (position < 0) return;
    highlight(script, menu, position);
    pressMenuKey(script, VK_RETURN);
}

void chooseItem(ModalScript& script, HMENU menu, UINT id) { chooseAt(script, menu, positionOf(menu, id)); }

HMENU openSubmenu(ModalScript& script, HMENU menu, int position) {
    if (position < 0) return nullptr;
    const std::vector<HMENU> known = openMenus();
    highlight(script, menu, position);
    pressMenuKey(script, VK_RIGHT);
    return waitForPopup(script, known);
}

void closeMenus(ModalScript& script) {
    EndMenu();
    script.waitUntil([] { return openMenus().empty(); });
}

void clickDropDown(HWND toolbar, int commandId) {
    const LRESULT index = SendMessageW(toolbar, TB_COMMANDTOINDEX, commandId, 0);
    RECT rect{};
    if (index < 0 || !SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect))) return;
    // The arrow is the right end of a drop-down button with separate arrows.
    const LPARAM point = MAKELPARAM(rect.right - 3, (rect.top + rect.bottom) / 2);
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(toolbar, WM_LBUTTONUP, 0, point);
}

}  // namespace quorin::test
